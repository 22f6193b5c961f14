#pragma once
#include <soci/soci.h>

#include <optional>
#include <string>

// The words for an item's normal range (DSLIMIINSP): composed once here, for the
// items the server creates and for the demo's.
namespace appserver {

// The screen's words for each range kind, as it sends them (blanks included).
struct RangeWords {
    std::string greater = "Maior que ";
    std::string less = "Menor que ";
    std::string between = "Entre ";
    std::string conjunction = " e ";
    std::string atLeast = "Maior ou Igual à";  // no blank: the number follows at once
    std::string atMost = "Menor ou Igual à ";
};

inline constexpr int kNormalRangeSize = 50;  // ITEMINSAUDIT.DSLIMIINSP

// The words of one normal-range row (kind IDFAIXRESINS, bounds VRINIFAIXRES and
// VRFINFAIXRES), numbers as the host writes them ("5", "7,25"); null when the row
// has no lower bound or its kind has no words. Cut to kNormalRangeSize characters.
std::optional<std::string> normalRangeText(const std::string& kind, std::optional<double> low,
                                           std::optional<double> high, const RangeWords& words = {});

// The normal range of an analysis for a request: the response product's own rows
// for the process and version when it has any (the first of them with 0 points, by
// response code), else the first general row with 0 points in the catalogue's order.
std::optional<std::string> normalRange(soci::session& db, const std::string& analysis,
                                       const std::string& responseProduct, const std::string& process,
                                       const std::string& version, const RangeWords& words);

// The first `size` characters of a UTF-8 text.
std::string utf8Prefix(const std::string& text, size_t size);

}  // namespace appserver
