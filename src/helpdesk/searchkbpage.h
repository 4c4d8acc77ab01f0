#pragma once

#include <QList>
#include <QWidget>
#include <cstdint>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TabbedList;

/** Page "Search Knowledge Base": finds entries by their quick description and shows one. */
class SearchKbPage : public QWidget {
    Q_OBJECT

public:
    explicit SearchKbPage(QWidget* parent = nullptr);

    QLineEdit* txtSearchProb;
    QPushButton* cmdGetSearch;
    TabbedList* lstSearchRes;
    QPlainTextEdit* lstProb;
    QPlainTextEdit* lstSolution;
    QPushButton* cmdClearSearch;

public Q_SLOTS:
    void cmdGetSearch_Click();
    void lstSearchRes_Click(int row);
    void cmdClearSearch_Click();

private:
    void clearResults();

    /** The entry behind each result line, so that a ticket and an entry sharing a number each
     *  show their own texts. */
    QList<std::int64_t> m_resultRows;
};
