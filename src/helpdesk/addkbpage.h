#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

/** Page "Add to Knowledge Base": a problem and its solution typed as a new entry. */
class AddKbPage : public QWidget {
    Q_OBJECT

public:
    explicit AddKbPage(QWidget* parent = nullptr);

    void showNextKnowledgeBaseNumber();

    QLineEdit* txtKBaseNum;
    QLineEdit* txtKQDesc;
    QPlainTextEdit* txtKProb;
    QPlainTextEdit* txtKSol;
    QPushButton* cmdAddKBase;
    QPushButton* cmdClearKBase;

public Q_SLOTS:
    void cmdAddKBase_Click();
    void cmdClearKBase_Click();

private:
    QString missingField() const;
};
