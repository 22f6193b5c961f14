#include "appserver/demo/demo_data.h"

#include "appserver/demo/demo_model.h"

namespace appserver {

void seedDemo(soci::session& db) {
    demo::seedPeople(db);
    demo::seedCatalogue(db);
    demo::seedStock(db);
    demo::seedRequests(db);
    demo::seedRequestRecords(db);
    demo::seedPlans(db);
}

}  // namespace appserver
