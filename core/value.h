#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/datetime.h"

namespace core {

struct Blob {
    std::string bytes;
    friend bool operator==(const Blob&, const Blob&) = default;
};

enum class FieldType { String, Integer, Float, Boolean, DateTime, Blob };

const char* fieldTypeName(FieldType t);
FieldType fieldTypeFromName(const std::string& name);  // throws core::Error

// One variant value as the host passes it: null or one scalar.
class Value {
public:
    using Storage = std::variant<std::monostate, std::string, int64_t, double, bool, DateTime, Blob>;

    Value() = default;
    Value(std::nullptr_t) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(int i) : v_(static_cast<int64_t>(i)) {}
    Value(int64_t i) : v_(i) {}
    Value(double d) : v_(d) {}
    Value(bool b) : v_(b) {}
    Value(DateTime d) : v_(d) {}
    Value(Blob b) : v_(std::move(b)) {}

    // Becomes this text, built in place: decoding a list does it for most cells.
    void assignText(std::string_view s) { v_.emplace<std::string>(s); }

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isString() const { return std::holds_alternative<std::string>(v_); }
    bool isInteger() const { return std::holds_alternative<int64_t>(v_); }
    bool isFloat() const { return std::holds_alternative<double>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isDateTime() const { return std::holds_alternative<DateTime>(v_); }
    bool isBlob() const { return std::holds_alternative<Blob>(v_); }
    bool isNumber() const { return isInteger() || isFloat(); }
    // Already of a field's type, no conversion needed. Inline: decoding asks it of every cell.
    bool holds(FieldType t) const {
        switch (t) {
            case FieldType::String:
                return isString();
            case FieldType::Integer:
                return isInteger();
            case FieldType::Float:
                return isFloat();
            case FieldType::Boolean:
                return isBool();
            case FieldType::DateTime:
                return isDateTime();
            case FieldType::Blob:
                return isBlob();
        }
        return false;
    }

    // Conversions as the host's variants do them; a null reads as "", 0, false.
    // A text that is not a number throws core::Error.
    std::string asString() const;
    int64_t asInteger() const;
    double asFloat() const;
    bool asBool() const;
    DateTime asDateTime() const;

    // This value converted to a field's type; throws core::Error when it cannot be.
    Value convertedTo(FieldType t) const;

    const Storage& storage() const { return v_; }
    friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

private:
    Storage v_;
};

// Equality as a user compares values: null equals null, numbers by value,
// texts case-insensitively when asked.
bool sameValue(const Value& a, const Value& b, bool caseInsensitive = false);

// Whether `s` is strict UTF-8, as the JSON parser holds text to (no overlong forms,
// no surrogates, nothing past U+10FFFF); its character count in `characters`.
bool utf8Valid(std::string_view s, size_t& characters);
// Character count of UTF-8 text ("Análise" is 7).
size_t utf8Length(const std::string& s);
std::string utf8Upper(const std::string& s);
std::string utf8Lower(const std::string& s);

}  // namespace core
