#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/datetime.h"

namespace core {

// The host formats like a Brazilian desktop: decimal ",", thousands ".",
// dates dd/mm/yyyy, times hh:nn.

// Number by a picture such as "#,##0.000", "###0.000", "#,##0.00000", "0.00":
// "," in the picture asks for thousands groups, the digits after "." fix the
// decimals (rounded half away from zero at the last one). An empty picture gives
// the shortest text ("1,5").
std::string formatFloat(const std::string& picture, double value);
// A number written the C way ("2.5", "-1e3", "inf"), read whatever the process locale
// (a GUI may set one with a "," point); nullopt unless the whole text is one number.
std::optional<double> parseCNumber(std::string_view text);
// Typed number with "," or "." as decimal point and optional "." thousands
// ("1.234,5"); blanks around are ignored. nullopt when it is not a number.
std::optional<double> parseFloat(const std::string& text);

// Date-time by a picture: "ddddd" the short date dd/mm/yyyy, "dd", "mm", "yyyy",
// "yy", "hh", "nn", "ss", "d", "m", "h", "n", "s"; other characters as they stand.
// A quoted text is copied without its quotes. An empty picture gives "ddddd" and,
// when there is a time, " hh:nn:ss".
std::string formatDateTime(const std::string& picture, DateTime value);
// "dd/mm/yyyy", "dd/mm/yy", optionally followed by " hh:nn" or " hh:nn:ss".
// nullopt for an impossible date or time ("31/02/2024", "25:00").
std::optional<DateTime> parseDateTime(const std::string& text);
// "hh:nn" or "hh:nn:ss" as a fraction of a day; nullopt when impossible.
std::optional<double> parseTime(const std::string& text);

// Edit masks as the host writes them: "mask;saveLiterals;blank". Mask characters:
// 9 digit optional, 0 digit required, L letter, A alphanumeric, C any, ! upper, others literal.
struct EditMask {
    std::string pattern;
    bool saveLiterals = true;
    char blank = '_';
    static EditMask parse(const std::string& mask);
    bool empty() const { return pattern.empty(); }
    // Raw value as shown in the box: literals inserted, missing positions blank.
    std::string apply(const std::string& raw) const;
    // Shown text back to the value stored (literals removed when not saved, blanks trimmed).
    std::string strip(const std::string& shown) const;
};

}  // namespace core
