#include "appserver/catalog.h"

#include <cctype>

#include "core/error.h"
#include "core/value.h"

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

// "VARCHAR(30)" -> 30; 0 when no size is declared.
int sizeOf(const std::string& declared) {
    const auto open = declared.find('(');
    if (open == std::string::npos) return 0;
    try {
        return std::stoi(declared.substr(open + 1));
    } catch (...) {
        return 0;
    }
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
    if (backend_ == Backend::SQLite) {
        soci::rowset<soci::row> rs = (db.prepare << "PRAGMA table_info(" + key + ")");
        for (const auto& r : rs) {
            ColumnInfo c;
            c.name = upper(r.get<std::string>(1));
            const auto type = r.get_indicator(2) == soci::i_null ? std::string() : r.get<std::string>(2);
            c.kind = kindOf(type);
            c.size = c.kind == ColumnInfo::Kind::Text ? sizeOf(type) : 0;
            info.columns.push_back(std::move(c));
        }
    } else {
        const std::string lowered = core::utf8Lower(key);
        soci::rowset<soci::row> rs =
            (db.prepare << "SELECT column_name, data_type, COALESCE(character_maximum_length, 0) "
                           "FROM information_schema.columns WHERE table_schema = current_schema() "
                           "AND table_name = :t ORDER BY ordinal_position",
             soci::use(lowered));
        for (const auto& r : rs) {
            ColumnInfo c;
            c.name = upper(r.get<std::string>(0));
            c.kind = kindOf(r.get<std::string>(1));
            const auto& p = r.get_properties(2);
            long long size = 0;
            if (p.get_data_type() == soci::dt_integer) size = r.get<int>(2);
            else if (p.get_data_type() == soci::dt_long_long) size = r.get<long long>(2);
            else if (p.get_data_type() == soci::dt_double) size = static_cast<long long>(r.get<double>(2));
            else if (p.get_data_type() == soci::dt_string) size = std::stoll(r.get<std::string>(2));
            c.size = c.kind == ColumnInfo::Kind::Text ? static_cast<int>(size) : 0;
            info.columns.push_back(std::move(c));
        }
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
