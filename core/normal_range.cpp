#include "core/normal_range.h"

#include "core/format.h"
#include "core/quantity.h"

namespace core {

bool numericRangeKind(const std::string& kind) {
    return kind == "=" || kind == ">" || kind == "<" || kind == "M" || kind == "N";
}

bool rangeHolds(const std::string& kind, std::optional<double> low, std::optional<double> high, double value) {
    const auto rounded = [](double v) { return roundDecimals(v, 5); };
    const double v = rounded(value);
    if (kind == "=") return low && high && rounded(*low) <= v && v <= rounded(*high);
    if (!high) return false;
    const double limit = rounded(*high);
    if (kind == ">") return v > limit;
    if (kind == "<") return v < limit;
    if (kind == "M") return v >= limit;
    if (kind == "N") return v <= limit;
    return false;
}

std::string utf8Prefix(const std::string& text, size_t size) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == size) return text.substr(0, i);
    }
    return text;
}

std::optional<std::string> normalRangeText(const std::string& kind, std::optional<double> low,
                                           std::optional<double> high, const RangeWords& words) {
    if (!low) return std::nullopt;
    const auto number = [](double v) { return formatFloat("", v); };
    std::string text;
    if (kind == "=") {
        // A between-range without its upper bound says only where it starts.
        text = words.between + number(*low) + (high ? words.conjunction + number(*high) : std::string());
    } else if (kind == ">") {
        text = words.greater + number(*low);
    } else if (kind == "<") {
        text = words.less + number(*low);
    } else if (kind == "M") {
        text = words.atLeast + number(*low);
    } else if (kind == "N") {
        text = words.atMost + number(*low);
    } else if (kind == "D") {
        text = words.undetectable;
    } else if (kind == "T") {
        text = words.uncountable;
    } else {
        return std::nullopt;
    }
    return utf8Prefix(text, kNormalRangeSize);
}

}  // namespace core
