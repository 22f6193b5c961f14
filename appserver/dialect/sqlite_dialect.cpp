#include <soci/sqlite3/soci-sqlite3.h>
#include <sqlite3.h>

#include "appserver/dialect/dialect.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

// "VARCHAR(30)" -> 30; 0 when no size is declared.
int declaredSize(const std::string& type) {
    const auto open = type.find('(');
    if (open == std::string::npos) return 0;
    try {
        return std::stoi(type.substr(open + 1));
    } catch (...) {
        return 0;
    }
}

class SqliteDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::SQLite; }

    void prepareSession(soci::session& db) const override {
        db << "PRAGMA journal_mode=WAL";
        db << "PRAGMA busy_timeout=10000";
        db << "PRAGMA foreign_keys=ON";
        db << "PRAGMA synchronous=NORMAL";
    }

    // The write lock is taken up front, so two writers never meet halfway and
    // deadlock on the lock upgrade; the busy timeout then makes them queue.
    void beginWriting(soci::session& db) const override { run(db, "BEGIN IMMEDIATE"); }

    bool isTransientError(const std::exception& e) const override {
        const auto* s = dynamic_cast<const soci::sqlite3_soci_error*>(&e);
        if (!s) return false;
        const int primary = s->result() & 0xFF;  // extended codes keep the primary one in the low byte
        return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
    }

    std::vector<ColumnDeclaration> columns(soci::session& db, const std::string& table) const override {
        std::vector<ColumnDeclaration> out;
        // The name is a checked identifier (the pragma takes no bound value).
        soci::rowset<soci::row> rs = (db.prepare << "PRAGMA table_info(" + table + ")");
        for (const auto& r : rs) {
            ColumnDeclaration c;
            c.name = r.get<std::string>(1);
            c.type = r.get_indicator(2) == soci::i_null ? std::string() : r.get<std::string>(2);
            c.size = declaredSize(c.type);
            out.push_back(std::move(c));
        }
        return out;
    }

    bool tableExists(soci::session& db, const std::string& table) const override {
        int n = 0;
        db << "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND UPPER(name) = UPPER(:t)", soci::use(table),
            soci::into(n);
        return n > 0;
    }

    // BEGIN IMMEDIATE already serialises every writer of the file.
    void lockForMigration(soci::session&) const override {}
};

}  // namespace

const Dialect& sqliteDialect() {
    static const SqliteDialect d;
    return d;
}

}  // namespace appserver
