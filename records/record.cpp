#include "records/record.h"

#include "core/error.h"

namespace records {

Record::Record(std::string name, std::string table, std::string alias, std::vector<RecordField> fields,
               std::vector<RecordJoin> joins)
    : name_(std::move(name)),
      table_(std::move(table)),
      alias_(std::move(alias)),
      fields_(std::move(fields)),
      joins_(std::move(joins)) {
    // A declaration is program text: a slip shows at the first use, not in a query.
    for (const auto& f : fields_) {
        if (f.source != FieldSource::LookedUp) continue;
        if (f.expression.empty()) throw core::Error("Campo " + f.name + " de " + name_ + " sem expressão de leitura.");
        if (f.join.empty()) continue;
        bool known = false;
        for (const auto& j : joins_) known = known || j.alias == f.join;
        if (!known)
            throw core::Error("Campo " + f.name + " de " + name_ + " usa a junção desconhecida " + f.join + ".");
    }
}

const RecordField* Record::find(const std::string& name) const {
    const std::string wanted = core::utf8Upper(name);
    for (const auto& f : fields_)
        if (core::utf8Upper(f.name) == wanted) return &f;
    return nullptr;
}

const RecordField& Record::field(const std::string& name) const {
    if (const auto* f = find(name)) return *f;
    throw core::Error("Campo " + name + " não declarado em " + name_ + ".");
}

std::string Record::readExpression(const std::string& name) const { return readExpression(field(name)); }

std::string Record::readExpression(const RecordField& f) const {
    if (f.source == FieldSource::Calculated)
        throw core::Error("Campo " + f.name + " de " + name_ + " é calculado no cliente.");
    return f.stored() ? alias_ + "." + f.name : f.expression;
}

std::vector<core::FieldDef> Record::packetFields() const {
    std::vector<core::FieldDef> out;
    for (const auto& f : fields_)
        if (f.travels()) out.push_back({f.name, f.type, f.size, f.key, false});
    return out;
}

}  // namespace records
