#include "tickets/columnheadings.h"

#include "app/tabbedlist.h"

#include <QHBoxLayout>
#include <QLabel>

ColumnHeadings::ColumnHeadings(const QStringList& headings, TabbedList* list, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    // The list draws its fields three pixels inside its frame.
    layout->setContentsMargins(list->frameWidth() + 3, 0, 0, 0);
    layout->setSpacing(0);
    const QList<int> stops = list->tabStopPixels();
    int start = 0;
    for (int i = 0; i < headings.size(); ++i) {
        auto* label = new QLabel(headings[i], this);
        if (i < stops.size()) {
            label->setFixedWidth(stops[i] - start);
            start = stops[i];
            layout->addWidget(label);
        } else {
            layout->addWidget(label, 1);
        }
    }
}
