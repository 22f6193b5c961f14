#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// A sub-lot split off by a partial approval records the sub-lot it came from.
Migration partialSubLotMigration() {
    return {11,
            "origin of partial approval sub-lots",
            {
                "ALTER TABLE LOTE ADD COLUMN NRSUBLOTEORIG VARCHAR(4)",
            }};
}

}  // namespace appserver::schema
