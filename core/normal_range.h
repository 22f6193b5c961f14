#pragma once
#include <optional>
#include <string>

// The words of an item's normal range (DSLIMIINSP), composed the same way by the
// screen for the items it adds and by the server for the items it creates.
namespace core {

// The screen's words for each range kind, as its message table holds them (blanks
// included).
struct RangeWords {
    std::string greater = "Maior que ";
    std::string less = "Menor que ";
    std::string between = "Entre ";
    std::string conjunction = " e ";
    std::string atLeast = "Maior ou Igual à";  // no blank: the number follows at once
    std::string atMost = "Menor ou Igual à ";
    std::string undetectable = "Indetectável";
    std::string uncountable = "Incontável";
};

inline constexpr int kNormalRangeSize = 50;  // ITEMINSAUDIT.DSLIMIINSP

// True for the kinds compared with a number ("=", ">", "<", "M", "N").
bool numericRangeKind(const std::string& kind);

// The words of one normal-range row (kind IDFAIXRESINS, bounds VRINIFAIXRES and
// VRFINFAIXRES), numbers as the host writes them ("5", "7,25"); null when the row
// has no lower bound or its kind has no words. Cut to kNormalRangeSize characters,
// since the words are the caller's own and a long wording must not refuse a save.
std::optional<std::string> normalRangeText(const std::string& kind, std::optional<double> low,
                                           std::optional<double> high, const RangeWords& words = {});

// Whether a numeric range row of kind `kind` holds the value, all compared at 5
// decimals, as values are typed. "=" holds from the lower to the upper bound; the
// one-sided kinds compare with the upper bound (the catalogue fills it for them, and
// shows the lower one). A row without the bound it needs holds nothing.
bool rangeHolds(const std::string& kind, std::optional<double> low, std::optional<double> high, double value);

// The first `size` characters of a UTF-8 text.
std::string utf8Prefix(const std::string& text, size_t size);

}  // namespace core
