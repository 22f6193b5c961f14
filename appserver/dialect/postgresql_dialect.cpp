#include <soci/postgresql/soci-postgresql.h>

#include "appserver/dialect/dialect.h"
#include "core/value.h"

namespace appserver {

namespace {

// SQLSTATEs of the conflicts PostgreSQL resolves by failing one transaction.
constexpr const char* kSerializationFailure = "40001";
constexpr const char* kDeadlockDetected = "40P01";

// Any integer column of a row, whatever width the driver chose for it.
long long integerAt(const soci::row& r, std::size_t i) {
    if (r.get_indicator(i) == soci::i_null) return 0;
    switch (r.get_properties(i).get_data_type()) {
        case soci::dt_integer:
            return r.get<int>(i);
        case soci::dt_long_long:
            return r.get<long long>(i);
        case soci::dt_unsigned_long_long:
            return static_cast<long long>(r.get<unsigned long long>(i));
        case soci::dt_double:
            return static_cast<long long>(r.get<double>(i));
        case soci::dt_string:
            return std::stoll(r.get<std::string>(i));
        default:
            return 0;
    }
}

class PostgresqlDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::PostgreSQL; }

    void prepareSession(soci::session&) const override {}

    // Row locks taken by each statement make concurrent writers queue.
    void beginWriting(soci::session& db) const override { db.begin(); }

    bool isTransientError(const std::exception& e) const override {
        const auto* p = dynamic_cast<const soci::postgresql_soci_error*>(&e);
        if (!p) return false;
        const auto state = p->sqlstate();
        return state == kSerializationFailure || state == kDeadlockDetected;
    }

    std::vector<ColumnDeclaration> columns(soci::session& db, const std::string& table) const override {
        // Unquoted names are folded to lower case by PostgreSQL.
        const std::string lowered = core::utf8Lower(table);
        std::vector<ColumnDeclaration> out;
        soci::rowset<soci::row> rs =
            (db.prepare << "SELECT column_name, data_type, COALESCE(character_maximum_length, 0) "
                           "FROM information_schema.columns WHERE table_schema = current_schema() "
                           "AND table_name = :t ORDER BY ordinal_position",
             soci::use(lowered));
        for (const auto& r : rs) {
            ColumnDeclaration c;
            c.name = r.get<std::string>(0);
            c.type = r.get<std::string>(1);
            c.size = static_cast<int>(integerAt(r, 2));
            out.push_back(std::move(c));
        }
        return out;
    }

    bool tableExists(soci::session& db, const std::string& table) const override {
        int n = 0;
        db << "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = current_schema() AND "
              "UPPER(table_name) = UPPER(:t)",
            soci::use(table), soci::into(n);
        return n > 0;
    }

    // Held until the transaction ends: servers starting together on one database
    // migrate one after the other, and the later ones find the work done.
    void lockForMigration(soci::session& db) const override { db << "SELECT pg_advisory_xact_lock(7300)"; }
};

}  // namespace

const Dialect& postgresqlDialect() {
    static const PostgresqlDialect d;
    return d;
}

}  // namespace appserver
