#include "appserver/delta.h"

#include <cmath>

#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

// 01/01/0100 .. 31/12/9999, as the host's calendar goes.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958466.0;

struct Column {
    int index;  // in the packet
    const ColumnInfo* info;
    const core::FieldDef* def;
    bool inKey;
};

bool skipped(const DeltaOptions& o, const std::string& name) {
    for (const auto& s : o.skipFields)
        if (core::utf8Upper(s) == core::utf8Upper(name)) return true;
    return false;
}

// The value as the column will keep it; refuses what does not fit.
core::Value storable(const Column& c, const core::Value& v, const std::string& table) {
    if (v.isNull()) return v;
    const auto& name = c.info->name;
    if (v.isDateTime()) {
        const double d = v.asDateTime().days;
        if (!std::isfinite(d) || d < kFirstDay || d >= kLastDay)
            throw core::Error("Data fora do intervalo permitido no campo " + name + ".");
        if (c.info->kind == ColumnInfo::Kind::Text)
            throw core::Error("Valor inválido para o campo " + name + " da tabela " + table + ".");
        return core::Value(d);
    }
    if (v.isFloat() && !std::isfinite(v.asFloat())) throw core::Error("Valor inválido para o campo " + name + ".");
    switch (c.info->kind) {
        case ColumnInfo::Kind::Text: {
            core::Value t = v.isString() ? v : v.convertedTo(core::FieldType::String);
            if (c.info->size > 0 && core::utf8Length(t.asString()) > static_cast<size_t>(c.info->size))
                throw core::Error("O valor do campo " + name + " excede " + std::to_string(c.info->size) +
                                  " caracteres.");
            return t;
        }
        case ColumnInfo::Kind::Integer:
        case ColumnInfo::Kind::Real:
            if (v.isString() || v.isBlob())
                throw core::Error("Valor inválido para o campo " + name + " da tabela " + table + ".");
            if (c.info->kind == ColumnInfo::Kind::Integer && v.isFloat() && std::trunc(v.asFloat()) != v.asFloat())
                throw core::Error("Valor inválido para o campo " + name + " da tabela " + table + ".");
            return v;
        case ColumnInfo::Kind::Blob: return v;
    }
    return v;
}

void whereEquals(std::string& sql, Params& params, const Column& c, const core::Value& old, const std::string& table) {
    sql += sql.ends_with(" WHERE ") ? "" : " AND ";
    if (old.isNull()) {
        sql += c.info->name + " IS NULL";
    } else {
        sql += c.info->name + " = :w" + std::to_string(params.size());
        params.add(storable(c, old, table));
    }
}

// The packet's fields that are columns of the table; `skip` leaves a field out,
// `key` says whether it finds the row.
template <typename Skip, typename Key>
std::vector<Column> columnsOf(const TableInfo& info, const core::Packet& packet, Skip skip, Key key) {
    std::vector<Column> columns;
    for (size_t i = 0; i < packet.fields.size(); ++i) {
        const auto& f = packet.fields[i];
        if (skip(f)) continue;
        const ColumnInfo* ci = info.column(f.name);
        if (!ci) throw core::Error("O campo " + f.name + " não existe na tabela " + info.name + ".");
        columns.push_back({static_cast<int>(i), ci, &f, key(f)});
    }
    return columns;
}

int applyChanges(soci::session& db, const TableInfo& info, const core::Packet& packet,
                 const std::vector<Column>& columns, bool hasKey) {
    int applied = 0;
    for (const auto& change : packet.delta) {
        const auto width = packet.fields.size();
        if ((change.kind != core::ChangeKind::Delete && change.newValues.size() != width) ||
            (change.kind != core::ChangeKind::Insert && change.oldValues.size() != width))
            throw core::Error("Pacote de dados inválido: alteração com número de colunas diferente dos campos.");
        if (change.kind != core::ChangeKind::Insert && !hasKey)
            throw core::Error("Pacote de dados sem campos-chave para a tabela " + info.name + ".");

        Params params;
        std::string sql;
        if (change.kind == core::ChangeKind::Insert) {
            std::string names, marks;
            for (const auto& c : columns) {
                const auto& v = change.newValues[c.index];
                if (v.isNull()) continue;  // the column's default applies
                names += (names.empty() ? "" : ", ") + c.info->name;
                marks += (marks.empty() ? ":v" : ", :v") + std::to_string(params.size());
                params.add(storable(c, v, info.name));
            }
            if (names.empty()) throw core::Error("Registro sem valores para a tabela " + info.name + ".");
            sql = "INSERT INTO " + info.name + " (" + names + ") VALUES (" + marks + ")";
            execute(db, sql, std::move(params));
            ++applied;
            continue;
        }
        std::vector<const Column*> changed;
        if (change.kind == core::ChangeKind::Modify) {
            for (const auto& c : columns)
                if (!core::sameValue(change.oldValues[c.index], change.newValues[c.index]) ||
                    change.oldValues[c.index].isNull() != change.newValues[c.index].isNull())
                    changed.push_back(&c);
            if (changed.empty()) continue;  // nothing to write for this row
            sql = "UPDATE " + info.name + " SET ";
            bool first = true;
            for (const Column* c : changed) {
                sql += (first ? "" : ", ") + c->info->name + " = :s" + std::to_string(params.size());
                params.add(storable(*c, change.newValues[c->index], info.name));
                first = false;
            }
        } else {
            sql = "DELETE FROM " + info.name;
        }
        sql += " WHERE ";
        for (const auto& c : columns)
            if (c.inKey) whereEquals(sql, params, c, change.oldValues[c.index], info.name);
        for (const Column* c : changed)
            if (!c->inKey) whereEquals(sql, params, *c, change.oldValues[c->index], info.name);
        if (execute(db, sql, std::move(params)) == 0) throw core::Error(kRowChanged);
        ++applied;
    }
    return applied;
}

}  // namespace

int applyDelta(soci::session& db, Catalog& catalog, const std::string& table, const core::Packet& packet,
               const DeltaOptions& options) {
    if (packet.delta.empty()) return 0;
    const TableInfo& info = catalog.table(db, table);
    const auto columns = columnsOf(
        info, packet, [&](const core::FieldDef& f) { return skipped(options, f.name); },
        [](const core::FieldDef& f) { return f.inKey; });
    bool hasKey = false;
    for (const auto& c : columns) hasKey = hasKey || c.inKey;
    return applyChanges(db, info, packet, columns, hasKey);
}

int applyDelta(soci::session& db, Catalog& catalog, const records::Record& record, const core::Packet& packet) {
    if (packet.delta.empty()) return 0;
    const TableInfo& info = catalog.table(db, record.table());
    auto declared = [&](const core::FieldDef& f) { return record.find(f.name); };
    const auto columns = columnsOf(
        info, packet,
        [&](const core::FieldDef& f) {
            const auto* d = declared(f);
            return d && !d->stored();
        },
        [&](const core::FieldDef& f) {
            const auto* d = declared(f);
            return d && d->key;
        });
    // Every key field must be there, or a change could reach rows it does not name.
    bool hasKey = true, anyKey = false;
    for (const auto& f : record.fields()) {
        if (!f.key) continue;
        anyKey = true;
        hasKey = hasKey && packet.fieldIndex(f.name) >= 0;
    }
    return applyChanges(db, info, packet, columns, hasKey && anyKey);
}

const std::vector<core::Value>& changedRow(const core::Packet& packet, const core::Change& change) {
    const auto& row = change.kind == core::ChangeKind::Insert ? change.newValues : change.oldValues;
    if (row.size() != packet.fields.size() ||
        (change.kind == core::ChangeKind::Modify && change.newValues.size() != packet.fields.size()))
        throw core::Error("Pacote de dados inválido: alteração com número de colunas diferente dos campos.");
    return row;
}

}  // namespace appserver
