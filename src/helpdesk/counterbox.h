#pragma once

#include "data/counters.h"

#include <cstdint>

class QLineEdit;

/** A number box of the help desk window that shows the next number of a counter. */
namespace CounterBox {

/** Puts the counter's next number into the box; a counter that cannot be read leaves it. */
void showNext(QLineEdit* box, Counter counter);
/** The number the box shows; 0 when it holds no number, so the counter's next one is used. */
std::int32_t shown(const QLineEdit* box);
/** After a record was saved under `used`: the box shows the number after it (the
 *  same number when none follows). */
void showFollowing(QLineEdit* box, std::int32_t used);

} // namespace CounterBox
