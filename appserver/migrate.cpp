#include "appserver/migrate.h"

#include <spdlog/spdlog.h>

#include <stdexcept>

#include "appserver/dialect/dialect.h"
#include "appserver/schema/migrations.h"
#include "appserver/sql.h"
#include "core/datetime.h"

namespace appserver {

namespace {

void ensureVersionTable(soci::session& db, const Dialect& dialect) {
    if (dialect.tableExists(db, "SCHEMA_VERSION")) return;
    CallTransaction tx(db, dialect);
    dialect.lockForMigration(db);
    if (!dialect.tableExists(db, "SCHEMA_VERSION"))
        db << "CREATE TABLE SCHEMA_VERSION (NRVERSAO INTEGER NOT NULL, NMVERSAO VARCHAR(100), "
              "DTAPLICACAO DOUBLE PRECISION, PRIMARY KEY (NRVERSAO))";
    tx.commit();
}

}  // namespace

int schemaVersion(soci::session& db, const Dialect& dialect) {
    if (!dialect.tableExists(db, "SCHEMA_VERSION")) return 0;
    return static_cast<int>(
        queryValue(db, "SELECT COALESCE(MAX(NRVERSAO), 0) FROM SCHEMA_VERSION", {}, core::FieldType::Integer)
            .asInteger());
}

int migrate(soci::session& db, const Dialect& dialect) {
    ensureVersionTable(db, dialect);
    int applied = 0;
    for (const auto& m : migrations()) {
        CallTransaction tx(db, dialect);
        // Several servers may start at once on one database: one migrates, the
        // others wait here and then find the work done.
        dialect.lockForMigration(db);
        const auto done = queryValue(db, "SELECT COUNT(*) FROM SCHEMA_VERSION WHERE NRVERSAO = :v",
                                     {m.version}, core::FieldType::Integer);
        if (done.asInteger() > 0) continue;
        spdlog::info("Aplicando migração {} ({})", m.version, m.name);
        for (const auto& statement : m.statements) {
            try {
                db << statement;
            } catch (const std::exception& e) {
                throw std::runtime_error("Migração " + std::to_string(m.version) + " (" + m.name +
                                         ") falhou: " + e.what());
            }
        }
        execute(db, "INSERT INTO SCHEMA_VERSION (NRVERSAO, NMVERSAO, DTAPLICACAO) VALUES (:v, :n, :d)",
                {m.version, m.name, core::DateTime::now()});
        tx.commit();
        ++applied;
    }
    return applied;
}

}  // namespace appserver
