#include "app/tabbedlist.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Paints each tab-separated field from its tab stop, clipped at the next one.
class TabStopDelegate : public QStyledItemDelegate {
public:
    explicit TabStopDelegate(TabbedList* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const QStringList fields = index.data().toString().split(QLatin1Char('\t'));
        const QList<int> stops = m_list->tabStopPixels();
        const QRect area = option.rect.adjusted(3, 0, -3, 0);
        painter->save();
        painter->setPen(option.state & QStyle::State_Selected
                            ? option.palette.color(QPalette::HighlightedText)
                            : option.palette.color(QPalette::Text));
        int x = area.left();
        for (int i = 0; i < fields.size(); ++i) {
            const int next = i < stops.size() ? area.left() + stops[i] : area.right();
            const int right = i + 1 < fields.size() && i < stops.size() ? next - 4 : area.right();
            const QRect cell(x, area.top(), std::max(0, right - x), area.height());
            painter->drawText(
                cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                option.fontMetrics.elidedText(fields[i], Qt::ElideRight, cell.width()));
            if (i < stops.size())
                x = std::max(x, next);
            else
                x = right; // no stop left: the rest run together at the end
        }
        painter->restore();
    }

private:
    TabbedList* m_list;
};

} // namespace

TabbedList::TabbedList(QWidget* parent) : QListView(parent)
{
    setModel(&m_model);
    setItemDelegate(new TabStopDelegate(this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { Q_EMIT lineDoubleClicked(index.row()); });
}

void TabbedList::setTabStops(const QList<int>& dialogUnits)
{
    m_tabStops = dialogUnits;
    viewport()->update();
}

QList<int> TabbedList::tabStopPixels() const
{
    QList<int> pixels;
    const int average = fontMetrics().averageCharWidth();
    for (int units : m_tabStops)
        pixels << units * average / 4;
    return pixels;
}

void TabbedList::addLine(const QString& line)
{
    const int row = m_model.rowCount();
    m_model.insertRows(row, 1);
    m_model.setData(m_model.index(row), line);
}

void TabbedList::setLines(const QStringList& lines)
{
    m_model.setStringList(lines);
}

void TabbedList::clear()
{
    m_model.setStringList({});
}

void TabbedList::removeLine(int row)
{
    if (row >= 0 && row < m_model.rowCount())
        m_model.removeRows(row, 1);
}

int TabbedList::count() const
{
    return m_model.rowCount();
}

QString TabbedList::line(int row) const
{
    if (row < 0 || row >= m_model.rowCount())
        return QString();
    return m_model.data(m_model.index(row)).toString();
}

int TabbedList::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void TabbedList::setCurrentRow(int row)
{
    m_choosingInCode = true;
    if (row < 0 || row >= m_model.rowCount()) {
        selectionModel()->clear();
        setCurrentIndex(QModelIndex());
    } else {
        setCurrentIndex(m_model.index(row));
    }
    m_choosingInCode = false;
}

void TabbedList::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    if (!m_choosingInCode && current.isValid())
        Q_EMIT lineClicked(current.row());
}
