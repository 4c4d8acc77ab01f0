#include "helpdesk/counterbox.h"

#include "data/conversions.h"

#include <QLineEdit>

namespace CounterBox {

void showNext(QLineEdit* box, Counter counter)
{
    const auto next = Database::read([&](Database& db) -> Result<std::int32_t> {
        if (const auto number = Counters::showNext(db, counter))
            return *number;
        return Status::failed(QStringLiteral("The counter could not be read."));
    });
    if (next)
        box->setText(QString::number(*next));
}

std::int32_t shown(const QLineEdit* box)
{
    const auto number = conv::toInt32(box->text());
    return number.ok() ? number.value : 0;
}

void showFollowing(QLineEdit* box, std::int32_t used)
{
    box->setText(QString::number(Counters::following(used).value_or(used)));
}

} // namespace CounterBox
