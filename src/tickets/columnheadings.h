#pragma once

#include <QStringList>
#include <QWidget>

class TabbedList;

/** A row of column headings over a tabbed list, each starting where its column starts. */
class ColumnHeadings : public QWidget {
    Q_OBJECT

public:
    ColumnHeadings(const QStringList& headings, TabbedList* list, QWidget* parent = nullptr);
};
