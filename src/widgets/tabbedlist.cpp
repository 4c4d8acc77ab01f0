#include "widgets/tabbedlist.h"

#include "data/csvfile.h"
#include "widgets/prompter.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
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

        const QRect area = option.rect.adjusted(3, 0, -3, 0);
        painter->save();
        painter->setPen(option.state & QStyle::State_Selected
                            ? option.palette.color(QPalette::HighlightedText)
                            : option.palette.color(QPalette::Text));
        for (const TabbedList::PlacedField& field :
             m_list->placeFields(index.data().toString(), option.fontMetrics)) {
            const int width = option.fontMetrics.horizontalAdvance(field.text);
            painter->drawText(QRect(area.left() + field.x, area.top(), width + 1, area.height()),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, field.text);
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

int TabbedList::nextStop(int x) const
{
    const QList<int> stops = tabStopPixels();
    for (int stop : stops)
        if (stop > x)
            return stop;
    // Past the last stop, tabs go on at the last stop's spacing (or every eight characters).
    const int last = stops.isEmpty() ? 0 : stops.last();
    int step = stops.size() > 1 ? stops.last() - stops[stops.size() - 2] : last;
    if (step <= 0)
        step = 8 * fontMetrics().averageCharWidth();
    return last + ((x - last) / step + 1) * step;
}

void TabbedList::setFieldsKeepColumns(bool keep)
{
    m_fieldsKeepColumns = keep;
    viewport()->update();
}

QList<TabbedList::PlacedField> TabbedList::placeFields(const QString& line,
                                                       const QFontMetrics& metrics) const
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    const QList<int> stops = tabStopPixels();
    const int gap = metrics.averageCharWidth() / 2;
    QList<PlacedField> placed;
    placed.reserve(fields.size());
    // As a list box expands tabs: a field that runs past the next stop pushes the fields after
    // it to the first stop beyond its end, so nothing is cut short; unless the fields keep to
    // their columns, and then the field's own column ends it.
    int x = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            x = m_fieldsKeepColumns && i <= stops.size() ? stops[i - 1] : nextStop(x);
        QString text = fields[i];
        if (m_fieldsKeepColumns && i < stops.size())
            text = metrics.elidedText(text, Qt::ElideRight, std::max(0, stops[i] - x - gap));
        placed.append({x, text});
        x += metrics.horizontalAdvance(text) + gap;
    }
    return placed;
}

QList<int> TabbedList::tabStopPixels() const
{
    QList<int> pixels;
    const int average = fontMetrics().averageCharWidth();
    for (int units : m_tabStops)
        pixels << units * average / 4;
    return pixels;
}

void TabbedList::clear()
{
    m_model.setLines({});
}

void TabbedList::removeLine(int row)
{
    m_model.remove(row);
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

void TabbedList::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    Q_EMIT painted();
}

void TabbedList::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("Save as CSV..."), this, &TabbedList::saveAsCsv);
    menu.exec(event->globalPos());
}

QStringList TabbedList::csvHeadings() const
{
    QStringList headings;
    for (const QString& title : m_headings)
        headings << title.simplified();
    qsizetype fields = 1;
    for (const QString& line : m_model.lines())
        fields = std::max(fields, line.count(QLatin1Char('\t')) + 1);
    while (headings.size() < fields)
        headings << tr("Column %1").arg(headings.size() + 1);
    return headings;
}

void TabbedList::saveAsCsv()
{
    QString path = prompter().saveFileName(tr("Save as CSV"), QString(), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    if (m_finishFilling)
        m_finishFilling();
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(m_model.lines().size()));
    for (const QString& line : m_model.lines())
        rows.push_back(line.split(QLatin1Char('\t')));
    const QString failure = CsvFile::write(path, csvHeadings(), rows);
    if (!failure.isEmpty())
        prompter().message(tr("The list could not be saved in %1:\n%2")
                               .arg(QDir::toNativeSeparators(path), failure),
                           Prompter::defaultTitle(), Prompter::Icon::Warning);
}
