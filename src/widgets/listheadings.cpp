#include "widgets/listheadings.h"

#include "widgets/tabbedlist.h"

#include <QLabel>

namespace {
// The list draws its text this far inside its frame and viewport.
constexpr int TextInset = 3;
} // namespace

ListHeadings::ListHeadings(TabbedList* list, const QStringList& titles, QWidget* parent)
    : QWidget(parent), m_list(list)
{
    list->setHeadings(titles);
    // A title wider than its column wraps onto a second line, as "Amount    Paid" does.
    for (const QString& title : titles) {
        auto* label = new QLabel(title, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        m_labels << label;
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ListHeadings::sizeHint() const
{
    return {m_list->sizeHint().width(), fontMetrics().lineSpacing() * 2 + 2};
}

void ListHeadings::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeLabels();
}

void ListHeadings::placeLabels()
{
    const int start = m_list->frameWidth() + TextInset;
    const QList<int> stops = m_list->tabStopPixels();
    for (int i = 0; i < m_labels.size(); ++i) {
        const int left = start + (i == 0 ? 0 : stops.value(i - 1, width()));
        const int right = i < stops.size() ? start + stops[i] - 4 : width();
        m_labels[i]->setGeometry(left, 0, std::max(0, right - left), height());
    }
}
