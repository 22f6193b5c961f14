#include "core/value.h"

#include <fmt/format.h>

#include <cmath>
#include <cstring>

#include "core/error.h"
#include "core/format.h"

namespace core {

const char* fieldTypeName(FieldType t) {
    switch (t) {
        case FieldType::String:
            return "string";
        case FieldType::Integer:
            return "integer";
        case FieldType::Float:
            return "float";
        case FieldType::Boolean:
            return "boolean";
        case FieldType::DateTime:
            return "datetime";
        case FieldType::Blob:
            return "blob";
    }
    return "string";
}

FieldType fieldTypeFromName(const std::string& n) {
    if (n == "string") return FieldType::String;
    if (n == "integer") return FieldType::Integer;
    if (n == "float") return FieldType::Float;
    if (n == "boolean") return FieldType::Boolean;
    if (n == "datetime") return FieldType::DateTime;
    if (n == "blob") return FieldType::Blob;
    throw Error("Tipo de campo desconhecido: " + n);
}

namespace {

std::string plainNumber(double d) {
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
        return fmt::format("{}", static_cast<int64_t>(d));
    return fmt::format("{}", d);
}

double parseNumber(const std::string& s) {
    std::string t;
    for (char c : s)
        if (c != ' ') t += (c == ',') ? '.' : c;
    if (t.empty()) return 0.0;
    const auto d = parseCNumber(std::string_view(t).substr(t[0] == '+' ? 1 : 0));
    if (!d || !std::isfinite(*d)) throw Error("'" + s + "' não é um número válido.");
    return *d;
}

}  // namespace

std::string Value::asString() const {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return "";
            else if constexpr (std::is_same_v<T, std::string>)
                return x;
            else if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(x);
            else if constexpr (std::is_same_v<T, double>)
                return plainNumber(x);
            else if constexpr (std::is_same_v<T, bool>)
                return x ? "True" : "False";
            else if constexpr (std::is_same_v<T, DateTime>)
                return plainNumber(x.days);
            else
                return x.bytes;
        },
        v_);
}

double Value::asFloat() const {
    return std::visit(
        [](const auto& x) -> double {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return 0.0;
            else if constexpr (std::is_same_v<T, std::string>)
                return parseNumber(x);
            else if constexpr (std::is_same_v<T, int64_t>)
                return static_cast<double>(x);
            else if constexpr (std::is_same_v<T, double>)
                return x;
            else if constexpr (std::is_same_v<T, bool>)
                return x ? 1.0 : 0.0;
            else if constexpr (std::is_same_v<T, DateTime>)
                return x.days;
            else
                throw Error("Um valor binário não é um número.");
        },
        v_);
}

int64_t Value::asInteger() const {
    if (isInteger()) return std::get<int64_t>(v_);
    const double d = asFloat();
    if (!std::isfinite(d) || std::fabs(d) > 9.2e18) throw Error("Número fora do intervalo.");
    return static_cast<int64_t>(std::llround(d));
}

bool Value::asBool() const {
    if (isBool()) return std::get<bool>(v_);
    if (isString()) {
        const auto& s = std::get<std::string>(v_);
        if (s == "S" || s == "s" || s == "True" || s == "true" || s == "1") return true;
        if (s.empty() || s == "N" || s == "n" || s == "False" || s == "false" || s == "0") return false;
        throw Error("'" + s + "' não é um valor lógico válido.");
    }
    return asFloat() != 0.0;
}

DateTime Value::asDateTime() const {
    if (isDateTime()) return std::get<DateTime>(v_);
    return DateTime(asFloat());
}

Value Value::convertedTo(FieldType t) const {
    if (isNull()) return {};
    switch (t) {
        case FieldType::String:
            return isBlob() ? Value(std::get<Blob>(v_).bytes) : Value(asString());
        case FieldType::Integer:
            return Value(asInteger());
        case FieldType::Float:
            return Value(asFloat());
        case FieldType::Boolean:
            return Value(asBool());
        case FieldType::DateTime:
            return Value(asDateTime());
        case FieldType::Blob:
            return isBlob() ? *this : Value(Blob{asString()});
    }
    return *this;
}

bool sameValue(const Value& a, const Value& b, bool caseInsensitive) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    if ((a.isNumber() || a.isDateTime()) && (b.isNumber() || b.isDateTime()))
        return a.asFloat() == b.asFloat();
    if (a.isString() && b.isString()) {
        if (!caseInsensitive) return a.asString() == b.asString();
        return utf8Lower(a.asString()) == utf8Lower(b.asString());
    }
    if (a.isBool() || b.isBool()) {
        try {
            return a.asBool() == b.asBool();
        } catch (const Error&) {
            return false;
        }
    }
    return a.asString() == b.asString();
}

// Strict UTF-8, as the JSON parser holds text to: no overlong forms, no surrogates,
// nothing past U+10FFFF. Counts the characters for the field's size on the way.
bool utf8Valid(std::string_view s, size_t& characters) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    size_t count = 0;
    while (p < end) {
        // Plain ASCII eight bytes at a time: the bulk of a list.
        while (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ull) break;
            p += 8;
            count += 8;
        }
        if (p == end) break;
        const unsigned c = *p;
        int more;
        unsigned min;
        if (c < 0x80) {
            ++p;
            ++count;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF)
            more = 1, min = 0x80;
        else if (c >= 0xE0 && c <= 0xEF)
            more = 2, min = 0x800;
        else if (c >= 0xF0 && c <= 0xF4)
            more = 3, min = 0x10000;
        else
            return false;
        if (end - p <= more) return false;
        unsigned code = c & (0x3F >> more);
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        p += more + 1;
        ++count;
    }
    characters = count;
    return true;
}

size_t utf8Length(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

namespace {

// Case mapping for ASCII and the Latin-1 letters Portuguese uses (U+00C0..U+00FE).
std::string mapCase(const std::string& s, bool upper) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += static_cast<char>(upper ? std::toupper(c) : std::tolower(c));
        } else if (c == 0xC3 && i + 1 < s.size()) {
            unsigned char d = static_cast<unsigned char>(s[i + 1]);
            // U+00C0..U+00DE upper (0x80..0x9E), U+00E0..U+00FE lower (0xA0..0xBE); skip × and ÷.
            if (upper && d >= 0xA0 && d <= 0xBE && d != 0xB7)
                d = static_cast<unsigned char>(d - 0x20);
            else if (!upper && d >= 0x80 && d <= 0x9E && d != 0x97)
                d = static_cast<unsigned char>(d + 0x20);
            out += static_cast<char>(c);
            out += static_cast<char>(d);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

std::string utf8Upper(const std::string& s) {
    return mapCase(s, true);
}
std::string utf8Lower(const std::string& s) {
    return mapCase(s, false);
}

}  // namespace core
