#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// Analysis plans: a product analysed in a process by a sector every so many days.
// The scheduled-task module raises a request for each plan that falls due and moves
// the plan's next date past the day it ran.
Migration plansMigration() {
    return {7,
            "analysis plans",
            {
                R"(CREATE TABLE PLANOANALISE (
    CDFILIAL VARCHAR(4) NOT NULL,
    NRPLANOANA VARCHAR(6) NOT NULL,
    DSPLANOANA VARCHAR(60) NOT NULL,
    CDPRODUTO VARCHAR(10) NOT NULL,
    IDTPAUDITADO VARCHAR(1) NOT NULL,
    CDSETEXECAUD VARCHAR(4),
    NRDIASINTERV INTEGER NOT NULL CHECK (NRDIASINTERV > 0),
    DTPROXANA DOUBLE PRECISION NOT NULL,
    IDATIVO VARCHAR(1) DEFAULT 'S' NOT NULL,
    PRIMARY KEY (CDFILIAL, NRPLANOANA)))",
                "CREATE INDEX IX_PLANOANALISE_PROXIMA ON PLANOANALISE (CDFILIAL, IDATIVO, DTPROXANA)",
            }};
}

}  // namespace appserver::schema
