#include "core/quantity.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace core {

long long quantityMillis(double quantity) {
    if (!std::isfinite(quantity)) return 0;
    // Rounded on the shortest decimal text that reads back as the same double, the
    // number as a person wrote it: 1.0005 is 1.000499999... in binary and must still
    // round up.
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(quantity), std::chars_format::fixed);
    const std::string_view text(buf, static_cast<size_t>(end - buf));
    const auto dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if (ec != std::errc() || whole.size() > 15) return std::llround(quantity * 1000.0);  // beyond any stock
    long long millis = 0;
    for (char c : whole) millis = millis * 10 + (c - '0');
    for (size_t i = 0; i < 3; ++i) millis = millis * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    if (fraction.size() > 3 && fraction[3] >= '5') ++millis;
    return quantity < 0 ? -millis : millis;
}

int compareQuantity(double a, double b) {
    const long long x = quantityMillis(a), y = quantityMillis(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

bool sameQuantity(double a, double b) { return compareQuantity(a, b) == 0; }

double roundDecimals(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const double scale = std::pow(10.0, decimals);
    // charconv, as the GUI's locale may use a "," point.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value * scale, std::chars_format::general, 15);
    double scaled = value * scale;
    std::from_chars(buf, written.ptr, scaled);
    return std::round(scaled) / scale;
}

}  // namespace core
