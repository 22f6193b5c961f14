#pragma once
#include <string>
#include <vector>

#include "core/packet.h"

namespace records {

// Where a field's value lives.
enum class FieldSource {
    Stored,      // a column of the record's table: read and written
    LookedUp,    // read through an SQL expression of the server (a joined name, a code's text); never written
    Calculated,  // computed by the client; never travels
};

struct RecordField {
    std::string name;
    core::FieldType type = core::FieldType::String;
    int size = 0;
    std::string label;
    bool visible = false;  // shown in the list by default
    bool key = false;
    FieldSource source = FieldSource::Stored;
    std::string expression;  // LookedUp: what the server reads, e.g. "P.NMPRODUTO"
    std::string join;        // LookedUp: alias of the join the expression needs ("" for none)

    bool travels() const { return source != FieldSource::Calculated; }
    bool stored() const { return source == FieldSource::Stored; }
};

// Field types in short, as the declarations list them.
namespace types {
inline constexpr auto S = core::FieldType::String;
inline constexpr auto D = core::FieldType::DateTime;
inline constexpr auto N = core::FieldType::Float;
inline constexpr auto B = core::FieldType::Blob;
}  // namespace types

// Fields in short, as the declarations list them.
inline RecordField stored(const char* name, core::FieldType type, int size, const char* label, bool visible = false) {
    return {name, type, size, label, visible, false, FieldSource::Stored, {}, {}};
}
inline RecordField key(const char* name, core::FieldType type, int size, const char* label) {
    return {name, type, size, label, false, true, FieldSource::Stored, {}, {}};
}
inline RecordField lookedUp(const char* name, core::FieldType type, int size, const char* label, const char* join,
                            const char* expression, bool visible = false) {
    return {name, type, size, label, visible, false, FieldSource::LookedUp, expression, join};
}
inline RecordField calculated(const char* name, core::FieldType type, int size, bool visible) {
    return {name, type, size, "", visible, false, FieldSource::Calculated, {}, {}};
}

// A join a looked-up field needs, by the alias its expressions use.
struct RecordJoin {
    std::string alias;   // "P"
    std::string clause;  // "LEFT JOIN PRODUTO P ON P.CDPRODUTO = A.CDPRODUTO"
};

// A record that travels between client and server, declared once: the client
// declares its record set from it, the server answers and saves with it.
class Record {
public:
    Record(std::string name, std::string table, std::string alias, std::vector<RecordField> fields,
           std::vector<RecordJoin> joins = {});

    const std::string& name() const { return name_; }    // the client's record set
    const std::string& table() const { return table_; }  // the table that owns the stored fields
    const std::string& alias() const { return alias_; }  // the table's alias in the joins' clauses
    const std::vector<RecordField>& fields() const { return fields_; }
    const std::vector<RecordJoin>& joins() const { return joins_; }

    const RecordField* find(const std::string& name) const;   // case-insensitive; null when absent
    const RecordField& field(const std::string& name) const;  // throws core::Error when absent
    // What the server reads for a field: "<alias>.<name>" when stored, the expression when looked up.
    std::string readExpression(const std::string& name) const;
    std::string readExpression(const RecordField& f) const;
    // The fields a packet of this record carries, in declared order (calculated ones left out).
    std::vector<core::FieldDef> packetFields() const;

private:
    std::string name_, table_, alias_;
    std::vector<RecordField> fields_;
    std::vector<RecordJoin> joins_;
};

}  // namespace records
