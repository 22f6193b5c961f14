#pragma once
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "core/value.h"

namespace core {

// What a field is: the part of a record-set field that travels in a data packet.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;           // characters for strings; 0 = no limit
    bool inKey = false;     // part of the row's key, used to find the row when saving
    bool required = false;  // may not be null on post
    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

enum class ChangeKind { Insert, Modify, Delete };

// One pending change of a change log. Insert carries newValues, Delete oldValues,
// Modify both (the row as it was read and as it is now).
struct Change {
    ChangeKind kind = ChangeKind::Insert;
    std::vector<Value> oldValues;
    std::vector<Value> newValues;
    friend bool operator==(const Change&, const Change&) = default;
};

// A data packet: field definitions and rows, and for a save the change log.
struct Packet {
    std::vector<FieldDef> fields;
    std::vector<std::vector<Value>> rows;
    std::vector<Change> delta;

    int fieldIndex(const std::string& name) const;  // -1 when absent, case-insensitive
    friend bool operator==(const Packet&, const Packet&) = default;
};

// Wire form of values and packets (see appserver/README.md).
nlohmann::json valueToJson(const Value& v);
Value valueFromJson(const nlohmann::json& j);  // throws core::Error on a malformed value
nlohmann::json packetToJson(const Packet& p);  // {"fields":[...],"rows":[...],"delta":[...]}
// Throws core::Error on anything malformed or truncated: wrong shapes, row widths
// that do not match the fields, values that do not fit their field's type or size.
Packet packetFromJson(const nlohmann::json& j);
Packet decodePacket(const std::string& text);  // parse + packetFromJson; core::Error on bad text
std::string encodePacket(const Packet& p);

// 01/01/0001 .. 31/12/9999: a date-time beyond them is refused however it is written
// (core::Error).
void checkDayCount(double days);

// Refuses a malformed packet: "Pacote de dados inválido: <what>." (core::Error).
[[noreturn]] void badPacket(const std::string& what);
// Refuses text of `characters` characters longer than its string field allows.
void checkTextSize(const FieldDef& f, size_t characters);

// Checks one value against its field definition; returns the value in the field's
// type or throws core::Error with a message naming the field.
Value checkedValue(const FieldDef& f, const Value& v);

}  // namespace core
