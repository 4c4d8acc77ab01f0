#pragma once

#include "widgets/linemodel.h"

#include <QListView>
#include <functional>

/**
 * A list box whose lines are tab-joined fields, shown in columns that start at tab stops given
 * in dialog units (a quarter of the font's average character width). The text of a line stays
 * the tab-joined fields, so a handler reads a key back as the text before the first tab. Its
 * context menu saves the list as a CSV file.
 */
class TabbedList : public QListView {
    Q_OBJECT

public:
    explicit TabbedList(QWidget* parent = nullptr);

    /** Column starts in dialog units; an empty list leaves one column per line. */
    void setTabStops(const QList<int>& dialogUnits);
    QList<int> tabStopPixels() const;
    /** Where a field that follows a tab starts when the text before it ends at `x` pixels. */
    int nextStop(int x) const;
    /** Keeps every field under its column: a field that would run past the next stop is shown
     *  cut short with an ellipsis there, instead of pushing the fields after it along. The
     *  line's text is not changed. */
    void setFieldsKeepColumns(bool keep);

    /** A field of a line as it is painted: where it starts and the text shown. */
    struct PlacedField {
        int x;
        QString text;
    };
    /** Places the fields of `line` in pixels from the list's left text edge. */
    QList<PlacedField> placeFields(const QString& line, const QFontMetrics& metrics) const;

    void addLine(const QString& line) { m_model.append({line}); }
    /** Replaces every line at once; fast for long lists. */
    void setLines(const QStringList& lines) { m_model.setLines(lines); }
    /** Adds lines at the end at once, keeping the chosen line and the scroll position. */
    void appendLines(const QStringList& lines) { m_model.append(lines); }
    void clear();
    void removeLine(int row);
    int count() const;
    QString line(int row) const;
    QStringList lines() const { return m_model.lines(); }

    /** The chosen line's index, -1 when none. */
    int currentRow() const;
    /** Chooses a line without emitting lineClicked. */
    void setCurrentRow(int row);
    QString currentLine() const { return line(currentRow()); }

    /** The column titles over the list (ListHeadings gives them), for a saved copy. */
    void setHeadings(const QStringList& titles) { m_headings = titles; }
    /** The heading row of a saved copy: the titles with their blanks run together, then
     *  "Column n" for each further field a line has. */
    QStringList csvHeadings() const;
    /** A list that adds its later lines while the program is idle gives the step that lists
     *  the rest at once, so that a saved copy holds every line. */
    void setFinishFilling(std::function<void()> finish) { m_finishFilling = std::move(finish); }

public Q_SLOTS:
    /** Asks for a file and writes the headings and the lines' fields there as CSV; a file that
     *  cannot be written is shown in a message. */
    void saveAsCsv();

Q_SIGNALS:
    /** The user chose a line, by mouse or keyboard. */
    void lineClicked(int row);
    void lineDoubleClicked(int row);
    /** The visible lines have been painted. */
    void painted();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    LineModel m_model;
    QList<int> m_tabStops;
    bool m_fieldsKeepColumns = false;
    QStringList m_headings;
    std::function<void()> m_finishFilling;
    bool m_choosingInCode = false;
};
