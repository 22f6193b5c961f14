#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// Which write a trail row came from: J the justification of the change itself
// (SetJustificativa), A the analysis' justification entry (SetJustificativaAna).
Migration justificationTrailMigration() {
    return {5,
            "origin of justification trail rows",
            {
                "ALTER TABLE JUSTIFICAANA ADD COLUMN IDORIGJUST VARCHAR(1)",
            }};
}

}  // namespace appserver::schema
