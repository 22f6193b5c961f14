#include "appserver/schema/migration_steps.h"

namespace appserver::schema {

// Justifications and the trail of their use, supplier invoices with their
// instalments and payment bills, and the filter options operators save.
Migration dialogsMigration() {
    return {4,
            "justifications, invoices and saved filters",
            {
                R"(CREATE TABLE JUSTIFICATIVA (
    CDJUSTIFICATIVA VARCHAR(5) NOT NULL,
    DSJUSTIFICATIVA VARCHAR(100) NOT NULL,
    PRIMARY KEY (CDJUSTIFICATIVA)))",

                // One row per justification or authorization given on a request: who
                // did it, when, with which code and for which permission.
                // CDOPERAUTORIZ is the operator whose password authorized the change
                // when it was not the session operator.
                R"(CREATE TABLE JUSTIFICAANA (
    CDFILIAL VARCHAR(4) NOT NULL,
    NRSEQJUSTANA INTEGER NOT NULL,
    NRAUDITORIA VARCHAR(10),
    CDJUSTIFICATIVA VARCHAR(5) NOT NULL,
    CDOPERADOR VARCHAR(12) NOT NULL,
    CDOPERAUTORIZ VARCHAR(12),
    IDAUTGRUPOP VARCHAR(4),
    DTJUSTIFICA DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (CDFILIAL, NRSEQJUSTANA)))",
                "CREATE INDEX IX_JUSTIFICAANA_AUDIT ON JUSTIFICAANA (CDFILIAL, NRAUDITORIA)",

                // Supplier invoices as entered into stock (the entry number
                // NRLANCTONF is what a request refers to).
                R"(CREATE TABLE NOTAFISCAL (
    CDFILIAL VARCHAR(4) NOT NULL,
    NRLANCTONF VARCHAR(10) NOT NULL,
    NRNOTAFISC VARCHAR(10) NOT NULL,
    SGSERIENF VARCHAR(3),
    CDFORNECED VARCHAR(21) NOT NULL,
    DTEMISSAONF DOUBLE PRECISION,
    DTENTRADANF DOUBLE PRECISION,
    VRTOTALNF DOUBLE PRECISION,
    PRIMARY KEY (CDFILIAL, NRLANCTONF)))",
                "CREATE INDEX IX_NOTAFISCAL_FORNEC ON NOTAFISCAL (CDFORNECED)",

                // Instalments of an invoice. IDSTATPAG: A open, B paid. NRLANBOLPAG is
                // the payment bill issued for it, if any.
                R"(CREATE TABLE VENCPAGAR (
    CDFILIAL VARCHAR(4) NOT NULL,
    NRLANCTONF VARCHAR(10) NOT NULL,
    NRPARCELA INTEGER NOT NULL,
    QTDIASVENPAG VARCHAR(40),
    DTORIGVENPAG DOUBLE PRECISION NOT NULL,
    VRORIGPAG DOUBLE PRECISION NOT NULL,
    IDSTATPAG VARCHAR(1) DEFAULT 'A' NOT NULL,
    DTPAGAMENTO DOUBLE PRECISION,
    NRLANBOLPAG VARCHAR(10),
    PRIMARY KEY (CDFILIAL, NRLANCTONF, NRPARCELA)))",

                // Payment bills; IDSITBOLPAG L marks one released for payment.
                R"(CREATE TABLE BOLETPAGAR (
    CDFILIAL VARCHAR(4) NOT NULL,
    NRLANBOLPAG VARCHAR(10) NOT NULL,
    IDSITBOLPAG VARCHAR(1) DEFAULT 'P' NOT NULL,
    DTLIBBOLPAG DOUBLE PRECISION,
    VRBOLPAG DOUBLE PRECISION,
    PRIMARY KEY (CDFILIAL, NRLANBOLPAG)))",

                // Named filter options an operator saved on a screen: the whole set of
                // criteria as one text, plus one row per component or variable.
                R"(CREATE TABLE FILTROSALVO (
    CDTELA VARCHAR(10) NOT NULL,
    CDOPERADOR VARCHAR(12) NOT NULL,
    DSOPCSALVA VARCHAR(40) NOT NULL,
    TXCRITERIO TEXT,
    DTGRAVACAO DOUBLE PRECISION,
    PRIMARY KEY (CDTELA, CDOPERADOR, DSOPCSALVA)))",

                // STVARIAVEL: S the row is a variable of the screen (NMCOMPONENTE holds
                // its name), N a component's value.
                R"(CREATE TABLE FILTROSALVOVALOR (
    CDTELA VARCHAR(10) NOT NULL,
    CDOPERADOR VARCHAR(12) NOT NULL,
    DSOPCSALVA VARCHAR(40) NOT NULL,
    NMCOMPONENTE VARCHAR(60) NOT NULL,
    STVARIAVEL VARCHAR(1) DEFAULT 'N' NOT NULL,
    DSVALOR TEXT,
    PRIMARY KEY (CDTELA, CDOPERADOR, DSOPCSALVA, NMCOMPONENTE)))",
            }};
}

}  // namespace appserver::schema
