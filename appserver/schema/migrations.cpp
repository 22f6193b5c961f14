#include "appserver/schema/migrations.h"

#include "appserver/schema/migration_steps.h"

namespace appserver {

const std::vector<Migration>& migrations() {
    static const std::vector<Migration> all = {
        schema::framePeopleMigration(), schema::requestsMigration(),           schema::stockMigration(),
        schema::dialogsMigration(),     schema::justificationTrailMigration(), schema::requestOwnedMigration(),
        schema::plansMigration(),       schema::sessionsMigration(),           schema::inspectionOwnedMigration(),
    };
    return all;
}

}  // namespace appserver
