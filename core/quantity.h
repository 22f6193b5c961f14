#pragma once

namespace core {

// Stock quantities count to 3 decimals: two quantities are the same when they agree
// to the thousandth, so 0.1 + 0.2 is 0.3 and a store emptied by parts reads empty.

// The quantity in thousandths, rounded half away from zero at the 4th decimal of
// the number as written (1.0005 -> 1001, -1.0005 -> -1001).
long long quantityMillis(double quantity);

// -1, 0 or 1 as `a` is below, the same as or above `b` to the thousandth.
int compareQuantity(double a, double b);
bool sameQuantity(double a, double b);

// `value` rounded half away from zero to `decimals` places, on its first 15
// significant digits, which drop the binary noise (1.005 * 100 = 100.49999...).
double roundDecimals(double value, int decimals);

}  // namespace core
