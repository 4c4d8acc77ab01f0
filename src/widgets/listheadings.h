#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class TabbedList;

/** A row of heading labels over a tabbed list, each placed where its column starts. */
class ListHeadings : public QWidget {
    Q_OBJECT

public:
    ListHeadings(TabbedList* list, const QStringList& titles, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLabels();

    TabbedList* m_list;
    QList<QLabel*> m_labels;
};
