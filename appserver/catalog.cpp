#include "appserver/catalog.h"

#include <cctype>

#include "appserver/dialect/dialect.h"
#include "core/error.h"

namespace appserver {

namespace {

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Declared SQL type (either backend's spelling) to the kind of value it keeps.
ColumnInfo::Kind kindOf(const std::string& declared) {
    const auto t = upper(declared);
    auto has = [&](const char* w) { return t.find(w) != std::string::npos; };
    if (has("CHAR") || has("TEXT") || has("CLOB")) return ColumnInfo::Kind::Text;
    if (has("BLOB") || has("BYTEA")) return ColumnInfo::Kind::Blob;
    if (has("INT")) return ColumnInfo::Kind::Integer;
    if (has("DOUBLE") || has("REAL") || has("FLOA") || has("NUMERIC") || has("DECIMAL"))
        return ColumnInfo::Kind::Real;
    return ColumnInfo::Kind::Text;
}

}  // namespace

bool isIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (unsigned char c : name)
        if (!std::isalnum(c) && c != '_') return false;
    return true;
}

const ColumnInfo* TableInfo::column(const std::string& n) const {
    const auto want = upper(n);
    for (const auto& c : columns)
        if (c.name == want) return &c;
    return nullptr;
}

const TableInfo& Catalog::table(soci::session& db, const std::string& name) {
    if (!isIdentifier(name)) throw core::Error("Tabela inválida: \"" + name + "\".");
    const auto key = upper(name);
    {
        std::lock_guard lock(mutex_);
        auto it = tables_.find(key);
        if (it != tables_.end()) return it->second;
    }
    TableInfo info;
    info.name = key;
    for (const auto& declared : dialect_.columns(db, key)) {
        ColumnInfo c;
        c.name = upper(declared.name);
        c.kind = kindOf(declared.type);
        c.size = c.kind == ColumnInfo::Kind::Text ? declared.size : 0;
        info.columns.push_back(std::move(c));
    }
    if (info.columns.empty()) throw core::Error("Tabela " + key + " não existe no banco de dados.");
    std::lock_guard lock(mutex_);
    return tables_.emplace(key, std::move(info)).first->second;
}

void Catalog::clear() {
    std::lock_guard lock(mutex_);
    tables_.clear();
}

}  // namespace appserver
