#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// Login sessions, kept here rather than in a server's memory so that several
// servers over one database share them (with the last other operator whose password
// the session checked, who may then authorize its changes); and the password
// failures per operator that throttle guessing.
Migration sessionsMigration() {
    return {8,
            "login sessions and password failures",
            {
                R"(CREATE TABLE SESSAO (
    CDSESSAO VARCHAR(64) NOT NULL,
    CDOPERADOR VARCHAR(12) NOT NULL,
    CDFILIAL VARCHAR(4),
    DTABERTURA DOUBLE PRECISION NOT NULL,
    DTULTUSO DOUBLE PRECISION NOT NULL,
    CDOPERAUTORIZ VARCHAR(12),
    DTAUTORIZ DOUBLE PRECISION,
    PRIMARY KEY (CDSESSAO)))",
                "CREATE INDEX IX_SESSAO_ULTUSO ON SESSAO (DTULTUSO)",
                R"(CREATE TABLE FALHASENHA (
    CDOPERADOR VARCHAR(12) NOT NULL,
    NRFALHAS INTEGER NOT NULL,
    DTPRIMFALHA DOUBLE PRECISION NOT NULL,
    DTBLOQUEIO DOUBLE PRECISION,
    PRIMARY KEY (CDOPERADOR)))",
            }};
}

}  // namespace appserver::schema
