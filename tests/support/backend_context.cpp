#include "support/backend_context.h"

#include <cctype>
#include <cstdlib>

namespace testsupport {

namespace {

void quietRollback(soci::session& db) {
    try {
        db.rollback();
    } catch (...) {
        // Nothing was open.
    }
}

class SqliteContext final : public BackendContext {
public:
    std::string name() const override { return "SQLite"; }
    appserver::Backend backend() const override { return appserver::Backend::SQLite; }

    std::vector<std::string> failInserts(const std::string& table, const std::string& condition,
                                         const std::string& tag) const override {
        return {"CREATE TRIGGER TRG_" + tag + " BEFORE INSERT ON " + table + " WHEN " + condition +
                " BEGIN SELECT RAISE(ABORT, 'falha simulada'); END"};
    }

    std::string dropTable(const std::string& table) const override { return "DROP TABLE " + table; }
    std::string nameInMessages(const std::string& table) const override { return table; }

    // One writer holds the file's write lock; the other, not willing to wait, is busy.
    std::exception_ptr transientFailure(soci::session& first, soci::session& second, const std::string&,
                                        const std::string&) const override {
        std::exception_ptr failure;
        second << "PRAGMA busy_timeout=0";
        first << "BEGIN IMMEDIATE";
        try {
            second << "BEGIN IMMEDIATE";
            second.rollback();
        } catch (...) {
            failure = std::current_exception();
        }
        quietRollback(first);
        second << "PRAGMA busy_timeout=10000";
        return failure;
    }
};

class PostgresqlContext final : public BackendContext {
public:
    std::string name() const override { return "PostgreSQL"; }
    appserver::Backend backend() const override { return appserver::Backend::PostgreSQL; }

    std::vector<std::string> failInserts(const std::string& table, const std::string& condition,
                                         const std::string& tag) const override {
        return {"CREATE FUNCTION FN_" + tag +
                    "() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RAISE EXCEPTION ''falha simulada''; END'",
                "CREATE TRIGGER TRG_" + tag + " BEFORE INSERT ON " + table + " FOR EACH ROW WHEN (" + condition +
                    ") EXECUTE FUNCTION FN_" + tag + "()"};
    }

    std::string dropTable(const std::string& table) const override { return "DROP TABLE " + table + " CASCADE"; }
    // Unquoted names are folded to lower case.
    std::string nameInMessages(const std::string& table) const override {
        std::string out = table;
        for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    }

    // A serializable transaction updates a row another session changed after its
    // snapshot: PostgreSQL cannot serialise the two and fails the update.
    std::exception_ptr transientFailure(soci::session& first, soci::session& second, const std::string& table,
                                        const std::string& key) const override {
        std::exception_ptr failure;
        second.begin();
        second << "SET TRANSACTION ISOLATION LEVEL SERIALIZABLE";
        int n = 0;
        second << "SELECT COUNT(*) FROM " + table, soci::into(n);  // takes the snapshot
        first << "UPDATE " + table + " SET NMTEXTO = 'primeiro' WHERE CDCHAVE = :k", soci::use(key);
        try {
            second << "UPDATE " + table + " SET NMTEXTO = 'segundo' WHERE CDCHAVE = :k", soci::use(key);
        } catch (...) {
            failure = std::current_exception();
        }
        quietRollback(second);
        return failure;
    }
};

}  // namespace

const BackendContext& backendContext() {
    static const SqliteContext sqlite;
    static const PostgresqlContext postgresql;
    const char* pg = std::getenv("MXA_TEST_PG");
    if (pg && *pg) return postgresql;
    return sqlite;
}

}  // namespace testsupport
