#include "core/format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

namespace core {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Removes quotes from a literal part of a picture ('R$ ' -> R$ ).
std::string unquoted(std::string_view s) {
    std::string out;
    char quote = 0;
    for (char c : s) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                out += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else {
            out += c;
        }
    }
    return out;
}

// A magnitude as decimal digits with the position of the decimal point: 15
// significant digits, as the host keeps, so binary noise (1.0005 stored as
// 1.000499999...) does not decide a rounding.
struct Decimal {
    std::string digits;  // no leading zeros except for zero itself
    int point = 0;       // digits before the decimal point (may be <= 0 or > size)
};

Decimal toDecimal(double magnitude) {
    Decimal d;
    if (magnitude == 0.0) {
        d.digits = "0";
        d.point = 1;
        return d;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));  // d.dddddddddddddde+XX
    const size_t e = s.find('e');
    for (char c : s.substr(0, e))
        if (isDigit(c)) d.digits += c;
    int exp = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), exp);
    d.point = exp + 1;
    return d;
}

// Rounds half away from zero (the magnitude rounds up) keeping `decimals` digits after the point.
void roundAt(Decimal& d, int decimals) {
    const int keep = d.point + decimals;  // digits to keep
    if (keep < 0) {
        d.digits = "0";
        d.point = 1;
        return;
    }
    if (keep >= static_cast<int>(d.digits.size())) return;
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') d.digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    if (d.digits.empty()) {
        d.digits = "0";
        d.point = 1;
    }
}

std::string groupThousands(const std::string& intPart) {
    std::string out;
    const size_t n = intPart.size();
    for (size_t i = 0; i < n; ++i) {
        if (i && (n - i) % 3 == 0) out += '.';
        out += intPart[i];
    }
    return out;
}

std::string shortest(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const bool neg = value < 0;
    Decimal d = toDecimal(std::fabs(value));
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    const int n = static_cast<int>(d.digits.size());
    std::string out;
    if (d.point > 15 || d.point < -4) {
        // Scientific as the host writes it: 1,5E20, 1E-5.
        out = d.digits.substr(0, 1);
        if (n > 1) out += "," + d.digits.substr(1);
        out += "E" + std::to_string(d.point - 1);
    } else if (d.point <= 0) {
        out = "0," + std::string(static_cast<size_t>(-d.point), '0') + d.digits;
    } else if (d.point >= n) {
        out = d.digits + std::string(static_cast<size_t>(d.point - n), '0');
    } else {
        out = d.digits.substr(0, static_cast<size_t>(d.point)) + "," +
              d.digits.substr(static_cast<size_t>(d.point));
    }
    if (neg && out != "0") out.insert(out.begin(), '-');
    return out;
}

}  // namespace

std::string formatFloat(const std::string& picture, double value) {
    if (picture.empty()) return shortest(value);
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    // prefix literal, number placeholders, suffix literal
    size_t begin = 0;
    char quote = 0;
    for (; begin < picture.size(); ++begin) {
        const char c = picture[begin];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '#' || c == '0' || c == '.' || c == ',') {
            break;
        }
    }
    size_t end = begin;
    while (end < picture.size() && std::string_view("#0.,").find(picture[end]) != std::string_view::npos)
        ++end;
    const std::string_view num(picture.data() + begin, end - begin);

    bool thousands = false;
    int minInt = 0, minDec = 0, maxDec = 0;
    const size_t dot = num.find('.');
    for (size_t i = 0; i < num.size(); ++i) {
        const char c = num[i];
        const bool afterPoint = dot != std::string_view::npos && i > dot;
        if (c == ',' && !afterPoint) thousands = true;
        if (c == '0') (afterPoint ? minDec : minInt)++;
        if ((c == '0' || c == '#') && afterPoint) ++maxDec;
    }

    Decimal d = toDecimal(std::fabs(value));
    roundAt(d, maxDec);
    std::string intPart, frac;
    const int n = static_cast<int>(d.digits.size());
    for (int i = 0; i < d.point; ++i) intPart += i < n ? d.digits[static_cast<size_t>(i)] : '0';
    for (int i = d.point; i < d.point + maxDec; ++i)
        frac += (i >= 0 && i < n) ? d.digits[static_cast<size_t>(i)] : '0';
    size_t lead = 0;
    while (lead < intPart.size() && intPart[lead] == '0') ++lead;
    intPart.erase(0, lead);
    while (static_cast<int>(frac.size()) > minDec && frac.back() == '0') frac.pop_back();
    const bool isZero = intPart.empty() && frac.find_first_not_of('0') == std::string::npos;
    if (static_cast<int>(intPart.size()) < minInt)
        intPart.insert(0, static_cast<size_t>(minInt) - intPart.size(), '0');

    std::string out = unquoted(picture.substr(0, begin));
    if (value < 0 && !isZero) out += '-';
    out += thousands ? groupThousands(intPart) : intPart;
    if (!frac.empty()) out += "," + frac;
    out += unquoted(std::string_view(picture).substr(end));
    return out;
}

std::optional<double> parseCNumber(std::string_view text) {
    double d = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), d);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return d;
}

// Brazilian reading: "," is the decimal point and "." groups thousands. A thousands
// group follows 1-3 digits not starting with "0" and has exactly three digits, so
// without a "," a single "." that cannot group ("1.5", "0.25", "0.125", "1234.567")
// is the decimal point, as the host reads it; "1.234" and "1.234.567" read as thousands.
std::optional<double> parseFloat(const std::string& text) {
    std::string_view s = trimmed(text);
    bool neg = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    for (char c : s)
        if (!isDigit(c) && c != '.' && c != ',') return std::nullopt;

    const size_t comma = s.find(',');
    if (comma != std::string_view::npos && s.find(',', comma + 1) != std::string_view::npos)
        return std::nullopt;
    std::string_view intPart = comma == std::string_view::npos ? s : s.substr(0, comma);
    std::string_view fracPart = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
    if (fracPart.find('.') != std::string_view::npos) return std::nullopt;

    const size_t firstDot = intPart.find('.');
    const auto leadsGroups = [&](std::string_view g) { return !g.empty() && g.size() <= 3 && g.front() != '0'; };
    if (comma == std::string_view::npos && firstDot != std::string_view::npos &&
        intPart.find('.', firstDot + 1) == std::string_view::npos &&
        (intPart.size() - firstDot - 1 != 3 || !leadsGroups(intPart.substr(0, firstDot)))) {
        // a lone decimal point
        fracPart = intPart.substr(firstDot + 1);
        intPart = intPart.substr(0, firstDot);
    }

    std::string plain;
    if (intPart.find('.') != std::string_view::npos) {
        // groups: 1-3 digits, then groups of exactly 3
        size_t pos = 0;
        bool firstGroup = true;
        while (true) {
            const size_t next = intPart.find('.', pos);
            const std::string_view g =
                intPart.substr(pos, next == std::string_view::npos ? next : next - pos);
            if (firstGroup ? !leadsGroups(g) : g.size() != 3) return std::nullopt;
            plain += g;
            firstGroup = false;
            if (next == std::string_view::npos) break;
            pos = next + 1;
        }
    } else {
        plain = intPart;
    }
    if (plain.empty() && fracPart.empty()) return std::nullopt;
    if (plain.empty()) plain = "0";
    if (!fracPart.empty()) plain += "." + std::string(fracPart);

    const auto v = parseCNumber(plain);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return neg ? -*v : *v;
}

namespace {

const char* const kMonthShort[] = {"jan", "fev", "mar", "abr", "mai", "jun",
                                   "jul", "ago", "set", "out", "nov", "dez"};
const char* const kMonthLong[] = {"janeiro", "fevereiro", "março",    "abril",   "maio",     "junho",
                                  "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};
const char* const kDayShort[] = {"dom", "seg", "ter", "qua", "qui", "sex", "sáb"};
const char* const kDayLong[] = {"domingo",      "segunda-feira", "terça-feira", "quarta-feira",
                                "quinta-feira", "sexta-feira",   "sábado"};

std::string two(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string four(int v) {
    std::string s = std::to_string(v);
    while (s.size() < 4) s.insert(s.begin(), '0');
    return s;
}

size_t runOf(const std::string& p, size_t i, char lower) {
    size_t n = 0;
    while (i + n < p.size() && (p[i + n] == lower || p[i + n] == lower - 32)) ++n;
    return n;
}

}  // namespace

std::string formatDateTime(const std::string& picture, DateTime value) {
    const DateTime::Civil c = value.civil();
    if (picture.empty()) {
        std::string out = formatDateTime("ddddd", value);
        if (c.hour || c.minute || c.second) out += " " + formatDateTime("hh:nn:ss", value);
        return out;
    }
    std::string out;
    bool afterHour = false;  // "m" right after an hour means minutes, as the host reads "hh:mm"
    for (size_t i = 0; i < picture.size();) {
        const char ch = picture[i];
        const char lc = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
        if (ch == '"' || ch == '\'') {
            const size_t close = picture.find(ch, i + 1);
            const size_t stop = close == std::string::npos ? picture.size() : close;
            out += picture.substr(i + 1, stop - i - 1);
            i = close == std::string::npos ? stop : close + 1;
            continue;
        }
        if (lc == 'd') {
            const size_t n = runOf(picture, i, 'd');
            if (n >= 5)
                out += two(c.day) + "/" + two(c.month) + "/" + four(c.year);
            else if (n == 4)
                out += kDayLong[c.dayOfWeek - 1];
            else if (n == 3)
                out += kDayShort[c.dayOfWeek - 1];
            else if (n == 2)
                out += two(c.day);
            else
                out += std::to_string(c.day);
            i += n >= 5 ? 5 : n;
            afterHour = false;
        } else if (lc == 'm') {
            const size_t n = runOf(picture, i, 'm');
            if (afterHour && n <= 2)
                out += n == 2 ? two(c.minute) : std::to_string(c.minute);
            else if (n >= 4)
                out += kMonthLong[c.month - 1];
            else if (n == 3)
                out += kMonthShort[c.month - 1];
            else if (n == 2)
                out += two(c.month);
            else
                out += std::to_string(c.month);
            i += n >= 4 ? 4 : n;
            afterHour = false;
        } else if (lc == 'y') {
            const size_t n = runOf(picture, i, 'y');
            out += n <= 2 ? two(((c.year % 100) + 100) % 100) : four(c.year);
            i += n;
            afterHour = false;
        } else if (lc == 'h') {
            const size_t n = runOf(picture, i, 'h');
            out += n >= 2 ? two(c.hour) : std::to_string(c.hour);
            i += n >= 2 ? 2 : 1;
            afterHour = true;
        } else if (lc == 'n') {
            const size_t n = runOf(picture, i, 'n');
            out += n >= 2 ? two(c.minute) : std::to_string(c.minute);
            i += n >= 2 ? 2 : 1;
            afterHour = false;
        } else if (lc == 's') {
            const size_t n = runOf(picture, i, 's');
            out += n >= 2 ? two(c.second) : std::to_string(c.second);
            i += n >= 2 ? 2 : 1;
            afterHour = false;
        } else if (lc == 'z') {
            const size_t n = runOf(picture, i, 'z');
            std::string ms = std::to_string(c.msec);
            if (n >= 3)
                while (ms.size() < 3) ms.insert(ms.begin(), '0');
            out += ms;
            i += n >= 3 ? 3 : 1;
        } else {
            out += ch;
            ++i;
        }
    }
    return out;
}

namespace {

// Reads 1 to maxDigits digits; false when there is none.
bool readNumber(std::string_view& s, int maxDigits, int& out, int& count) {
    count = 0;
    out = 0;
    while (!s.empty() && isDigit(s.front()) && count < maxDigits) {
        out = out * 10 + (s.front() - '0');
        s.remove_prefix(1);
        ++count;
    }
    return count > 0;
}

std::optional<double> readTime(std::string_view s) {
    int h = 0, n = 0, sec = 0, cnt = 0;
    if (!readNumber(s, 2, h, cnt) || s.empty() || s.front() != ':') return std::nullopt;
    s.remove_prefix(1);
    if (!readNumber(s, 2, n, cnt) || cnt != 2) return std::nullopt;
    if (!s.empty()) {
        if (s.front() != ':') return std::nullopt;
        s.remove_prefix(1);
        if (!readNumber(s, 2, sec, cnt) || cnt != 2) return std::nullopt;
    }
    if (!s.empty() || h > 23 || n > 59 || sec > 59) return std::nullopt;
    return ((h * 60.0 + n) * 60.0 + sec) / 86400.0;
}

}  // namespace

std::optional<DateTime> parseDateTime(const std::string& text) {
    std::string_view s = trimmed(text);
    int d = 0, m = 0, y = 0, cnt = 0;
    if (!readNumber(s, 2, d, cnt) || s.empty() || s.front() != '/') return std::nullopt;
    s.remove_prefix(1);
    if (!readNumber(s, 2, m, cnt) || s.empty() || s.front() != '/') return std::nullopt;
    s.remove_prefix(1);
    if (!readNumber(s, 4, y, cnt) || (cnt != 2 && cnt != 4)) return std::nullopt;
    if (cnt == 2) y += y < 50 ? 2000 : 1900;  // two-digit years: 00-49 this century, 50-99 the last
    double time = 0.0;
    if (!s.empty()) {
        if (s.front() != ' ') return std::nullopt;
        const auto t = readTime(trimmed(s));
        if (!t) return std::nullopt;
        time = *t;
    }
    auto date = DateTime::fromCivil(y, m, d);
    if (!date) return std::nullopt;
    // Before the epoch the fraction still counts the time of day forwards from the day's start.
    return DateTime(date->days >= 0 ? date->days + time : date->days - time);
}

std::optional<double> parseTime(const std::string& text) {
    return readTime(trimmed(text));
}

EditMask EditMask::parse(const std::string& mask) {
    EditMask m;
    if (mask.empty()) return m;
    const size_t last = mask.rfind(';');
    if (last == std::string::npos) {
        m.pattern = mask;
        return m;
    }
    const size_t prev = last == 0 ? std::string::npos : mask.rfind(';', last - 1);
    if (prev == std::string::npos) {
        m.pattern = mask.substr(0, last);
        m.saveLiterals = mask.substr(last + 1) != "0";
        return m;
    }
    m.pattern = mask.substr(0, prev);
    m.saveLiterals = mask.substr(prev + 1, last - prev - 1) != "0";
    const std::string blank = mask.substr(last + 1);
    m.blank = blank.empty() ? ' ' : blank[0];
    return m;
}

namespace {

// One position of a mask: a literal, or a slot taking a character of some class.
struct Slot {
    char literal = 0;  // 0 for a slot
    char kind = 0;     // 9 0 L l A a C c #
    int caseMode = 0;  // 1 upper, -1 lower
};

std::vector<Slot> slotsOf(const std::string& pattern) {
    std::vector<Slot> out;
    int caseMode = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '>' || c == '!') {
            caseMode = 1;
        } else if (c == '<') {
            caseMode = caseMode == 1 && i + 1 < pattern.size() && pattern[i + 1] == '>' ? 0 : -1;
            if (caseMode == 0) ++i;
        } else if (c == '\\' && i + 1 < pattern.size()) {
            out.push_back({pattern[++i], 0, 0});
        } else if (std::string_view("90LlAaCc#").find(c) != std::string_view::npos) {
            out.push_back({0, c, caseMode});
        } else {
            out.push_back({c, 0, 0});
        }
    }
    return out;
}

bool fits(const Slot& s, char c) {
    const bool digit = isDigit(c);
    const bool letter =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
    switch (s.kind) {
        case '9':
        case '0':
            return digit;
        case '#':
            return digit || c == '+' || c == '-';
        case 'L':
        case 'l':
            return letter;
        case 'A':
        case 'a':
            return letter || digit;
        default:
            return true;
    }
}

char cased(const Slot& s, char c) {
    if (s.caseMode > 0 && c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
    if (s.caseMode < 0 && c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
    return c;
}

}  // namespace

std::string EditMask::apply(const std::string& raw) const {
    if (pattern.empty()) return raw;
    const auto slots = slotsOf(pattern);
    std::string out;
    size_t r = 0;
    for (const auto& s : slots) {
        if (s.literal) {
            out += s.literal;
            if (saveLiterals && r < raw.size() && raw[r] == s.literal) ++r;  // stored with its literals
            continue;
        }
        // Characters that fit no slot are skipped, so a value stored otherwise still shows.
        while (r < raw.size() && !fits(s, raw[r]) && raw[r] != ' ') ++r;
        if (r < raw.size() && raw[r] != ' ')
            out += cased(s, raw[r++]);
        else {
            out += blank;
            if (r < raw.size()) ++r;
        }
    }
    return out;
}

std::string EditMask::strip(const std::string& shown) const {
    if (pattern.empty()) return shown;
    const auto slots = slotsOf(pattern);
    std::string out;
    bool anyValue = false;
    for (size_t i = 0; i < slots.size() && i < shown.size(); ++i) {
        const char c = shown[i];
        if (slots[i].literal) {
            if (saveLiterals) out += slots[i].literal;
        } else if (c == blank || c == ' ') {
            out += ' ';
        } else {
            out += cased(slots[i], c);
            anyValue = true;
        }
    }
    if (!anyValue) return {};
    const size_t b = out.find_first_not_of(' ');
    const size_t e = out.find_last_not_of(' ');
    return out.substr(b, e - b + 1);
}

}  // namespace core
