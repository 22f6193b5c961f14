#include <gtest/gtest.h>
#include <soci/soci.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "core/error.h"
#include "platform/host.h"
#include "platform/query.h"
#include "support/test_server.h"

using namespace platform;

namespace {

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// A libpq connect-string value, quoted so blanks and quotes in it survive.
std::string connectValue(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

// Runs the script over the test cluster; the password comes from the environment.
int runScript(const std::string& role, const std::string& schema) {
    const auto script =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "scripts/create-lookup-role.sh";
    ::setenv("MXA_LOOKUP_PASSWORD", "consulta", 1);
    ::setenv("MXA_TEST_LOOKUP_ROLE", role.c_str(), 1);
    ::setenv("MXA_TEST_LOOKUP_SCHEMA", schema.c_str(), 1);
    const std::string command =
        "bash '" + script.string() + "' \"$MXA_TEST_PG\" \"$MXA_TEST_LOOKUP_ROLE\" - \"$MXA_TEST_LOOKUP_SCHEMA\"";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string lookUp(const std::string& sql) {
    TADOIBQuery q;
    q.SQL = sql;
    q.Open();
    return q.recordCount() > 0 ? q.fieldAt(0).asString() : std::string();
}

// Roles belong to the whole cluster: the test's own goes at the end, whatever happened.
struct RoleDropper {
    std::string admin, role, schema;
    Session owner;
    ~RoleDropper() {
        resetQueryDatabase();
        session() = owner;
        try {
            soci::session db("postgresql", admin);
            const std::string r = quoteIdentifier(role), s = quoteIdentifier(schema);
            db << "REVOKE ALL ON ALL TABLES IN SCHEMA " + s + " FROM " + r;
            db << "REVOKE ALL ON SCHEMA " + s + " FROM " + r;
            db << "DROP ROLE IF EXISTS " + r;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "role " << role << " left behind: " << e.what();
        }
    }
};

}  // namespace

TEST(LookupRole, ReadsTheLookedUpTablesOnlyAndNeverWrites) {
    const char* pg = std::getenv("MXA_TEST_PG");
    if (!pg || !*pg) GTEST_SKIP() << "MXA_TEST_PG not set";
    {
        soci::session admin("postgresql", pg);
        int can = 0;
        admin << "SELECT CASE WHEN rolsuper OR rolcreaterole THEN 1 ELSE 0 END FROM pg_roles "
                 "WHERE rolname = current_user",
            soci::into(can);
        if (!can) GTEST_SKIP() << "the MXA_TEST_PG role may not create roles (scripts/start-postgres.sh grants it)";
    }
    testsupport::TestServer server;
    const Session owner = session();
    const std::string schema = lookUp("SELECT current_schema() AS ESQUEMA");
    // Quotes in the name: the script must never paste it into SQL. (No blank: SOCI
    // rebuilds the connect string and loses blanks inside quoted values.)
    const std::string role =
        "mxa_look'up\"" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}() % 100000) + "\"";
    RoleDropper dropper{pg, role, schema, owner};

    // What the role must not read, each read fine by the tables' owner (so a refusal
    // below is the role's, not a missing table).
    const char* forbidden[] = {"SELECT CDSENHAOPER FROM OPERADOR", "SELECT * FROM OPERADOR",
                               "SELECT COUNT(*) FROM SESSAO", "SELECT COUNT(*) FROM FALHASENHA",
                               "SELECT COUNT(*) FROM AUDITORIA"};
    for (const char* sql : forbidden) EXPECT_NO_THROW(lookUp(sql)) << sql;

    ASSERT_EQ(runScript(role, schema), 0);
    // A grant made by hand since goes on the next run, which also just works again.
    {
        soci::session db("postgresql", owner.dbConnect);
        db << "GRANT SELECT ON SESSAO TO " + quoteIdentifier(role);
        db << "GRANT UPDATE ON SETOR TO " + quoteIdentifier(role);
    }
    ASSERT_EQ(runScript(role, schema), 0);

    // The workstation's address names no schema: the role finds its own.
    const std::string roleConnect =
        std::string(pg) + " user=" + connectValue(role) + " password=" + connectValue("consulta");
    session().dbConnect = roleConnect;
    resetQueryDatabase();
    EXPECT_FALSE(lookUp("SELECT NMSETOR FROM SETOR ORDER BY CDSETOR").empty());
    EXPECT_FALSE(lookUp("SELECT CDOPERADOR, NMOPERADOR FROM OPERADOR WHERE CDOPERADOR = 'DEMO'").empty());
    EXPECT_NO_THROW(lookUp("SELECT COUNT(*) FROM HABILOPER"));
    for (const char* sql : forbidden) EXPECT_THROW(lookUp(sql), core::Error) << sql;
    try {
        lookUp("UPDATE SETOR SET NMSETOR = 'X'");
        ADD_FAILURE() << "the look-up role wrote";
    } catch (const core::Error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("As consultas diretas só podem ler o banco de dados: ", 0), 0u)
            << e.what();
    }

    // The role itself, asked for a writing transaction, still may not write or create.
    soci::session asRole("postgresql", roleConnect);
    std::string readOnly;
    asRole << "SHOW default_transaction_read_only", soci::into(readOnly);
    EXPECT_EQ(readOnly, "on");
    for (const char* sql :
         {"UPDATE SETOR SET NMSETOR = 'X'", "DELETE FROM OPERADOR", "CREATE TABLE INTRUSO (X INTEGER)"}) {
        asRole.begin();
        asRole << "SET TRANSACTION READ WRITE";
        EXPECT_THROW(asRole << sql, soci::soci_error) << sql;
        asRole.rollback();
    }
}
