#include "appserver/demo/demo_data.h"

#include <spdlog/spdlog.h>

#include "appserver/database.h"
#include "appserver/demo/demo_model.h"

namespace appserver {

namespace {

bool hasRequests(soci::session& db, const Dialect& dialect) {
    if (!dialect.tableExists(db, "AUDITORIA")) return false;
    int n = 0;
    db << "SELECT COUNT(*) FROM AUDITORIA", soci::into(n);
    return n > 0;
}

}  // namespace

void seedDemo(soci::session& db) {
    demo::seedPeople(db);
    demo::seedCatalogue(db);
    demo::seedStock(db);
    demo::seedRequests(db);
    demo::seedRequestRecords(db);
    demo::seedPlans(db);
}

void seedDemoWhenEmpty(soci::session& db, const Dialect& dialect) {
    if (hasRequests(db, dialect)) return;
    spdlog::info("Criando os dados de demonstração");
    CallTransaction tx(db, dialect);
    seedDemo(db);
    tx.commit();
}

}  // namespace appserver
