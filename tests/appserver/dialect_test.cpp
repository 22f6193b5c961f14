// What each database does differently, asked of its dialect against the real one.
#include "appserver/dialect/dialect.h"

#include <atomic>
#include <stdexcept>

#include "appserver/catalog.h"
#include "fixture.h"
#include "support/backend_context.h"

namespace {

class DialectTest : public ServerSuite {
protected:
    static const appserver::Dialect& dialect() {
        return appserver::dialectFor(appserver::parseDatabaseAddress(server_->server().options().db).backend);
    }
    // A session opened the way the server opens its own.
    static std::unique_ptr<soci::session> serverSession() {
        auto s = std::make_unique<soci::session>();
        appserver::openSession(*s, appserver::parseDatabaseAddress(server_->server().options().db));
        return s;
    }
};

TEST_F(DialectTest, TransientErrorsAreToldByTheDatabasesCode) {
    const auto& context = testsupport::backendContext();
    ASSERT_EQ(dialect().backend(), context.backend()) << context.name();
    db() << "INSERT INTO TESTE_DELTA (CDCHAVE, NMTEXTO) VALUES ('TX', 'antes')";
    auto first = serverSession(), second = serverSession();

    const auto failure = context.transientFailure(*first, *second, "TESTE_DELTA", "TX");
    ASSERT_TRUE(failure) << context.name() << ": the conflict did not fail";
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        EXPECT_TRUE(dialect().isTransientError(e)) << e.what();
        // The other backend's dialect knows nothing of this database's codes.
        const auto& other = dialect().backend() == appserver::Backend::SQLite ? appserver::postgresqlDialect()
                                                                              : appserver::sqliteDialect();
        EXPECT_FALSE(other.isTransientError(e)) << e.what();
    }

    // Both sessions are usable again, and an ordinary failure is no reason to retry.
    try {
        *second << "SELECT NMINEXISTENTE FROM TESTE_DELTA";
        ADD_FAILURE() << "a missing column was accepted";
    } catch (const std::exception& e) {
        EXPECT_FALSE(dialect().isTransientError(e)) << e.what();
    }
    try {
        *first << "INSERT INTO TESTE_DELTA (CDCHAVE) VALUES ('TX')";
        ADD_FAILURE() << "a repeated key was accepted";
    } catch (const std::exception& e) {
        EXPECT_FALSE(dialect().isTransientError(e)) << e.what();
    }
    // Words alone are not a database's code.
    EXPECT_FALSE(dialect().isTransientError(std::runtime_error("database is locked")));
    EXPECT_FALSE(dialect().isTransientError(std::runtime_error("could not serialize access due to concurrent update")));
}

TEST_F(DialectTest, TheServerRunsACallAgainOnlyAfterATransientError) {
    db() << "INSERT INTO TESTE_DELTA (CDCHAVE, NMTEXTO) VALUES ('TY', 'antes')";
    auto first = serverSession(), second = serverSession();
    static std::exception_ptr failure;
    failure = testsupport::backendContext().transientFailure(*first, *second, "TESTE_DELTA", "TY");
    ASSERT_TRUE(failure);
    static std::atomic<int> attempts;
    attempts = 0;
    // Writes, then meets the database's conflict on its first attempt only.
    server_->server().methods().add("Teste", "Conflito", [](appserver::Call& c) -> core::Variant {
        c.expect({});
        appserver::execute(c.db(), "INSERT INTO TESTE_DELTA (CDCHAVE) VALUES ('RZ')");
        if (++attempts == 1) std::rethrow_exception(failure);
        return static_cast<int64_t>(attempts.load());
    });
    auto a = testsupport::call("Conflito", {}, "Teste");
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    EXPECT_EQ(a.result.value.asInteger(), 2);
    int written = 0;
    db() << "SELECT COUNT(*) FROM TESTE_DELTA WHERE CDCHAVE = 'RZ'", soci::into(written);
    EXPECT_EQ(written, 1);  // the first attempt's write went back with it

    // Any other database failure is answered at once.
    attempts = 0;
    server_->server().methods().add("Teste", "Falha", [](appserver::Call& c) -> core::Variant {
        c.expect({});
        ++attempts;
        appserver::execute(c.db(), "SELECT NMINEXISTENTE FROM TESTE_DELTA");
        return {};
    });
    a = testsupport::call("Falha", {}, "Teste");
    EXPECT_EQ(a.result.error.rfind("Erro no banco de dados: ", 0), 0u) << a.result.error;
    EXPECT_EQ(attempts, 1);
}

TEST_F(DialectTest, CatalogueTablesAndHighestNumber) {
    const auto& d = dialect();
    EXPECT_TRUE(d.tableExists(db(), "TESTE_DELTA"));
    EXPECT_TRUE(d.tableExists(db(), "teste_delta"));
    EXPECT_FALSE(d.tableExists(db(), "TESTE_NENHUMA"));
    EXPECT_TRUE(d.columns(db(), "TESTE_NENHUMA").empty());

    appserver::Catalog catalog(d);
    const auto& t = catalog.table(db(), "teste_delta");
    ASSERT_EQ(t.columns.size(), 5u);
    EXPECT_EQ(t.columns[0].name, "CDCHAVE");
    EXPECT_EQ(t.columns[0].size, 4);
    EXPECT_EQ(t.column("NMTEXTO")->size, 10);
    EXPECT_EQ(t.column("QTVALOR")->kind, appserver::ColumnInfo::Kind::Real);
    EXPECT_EQ(t.column("NRCONTA")->kind, appserver::ColumnInfo::Kind::Integer);
    EXPECT_EQ(t.column("NRCONTA")->size, 0);

    // Zero-padded text and integer columns, filtered by equal values.
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "CDCHAVE"), 0);
    db() << "INSERT INTO TESTE_DELTA (CDCHAVE, NMTEXTO, NRCONTA) VALUES ('0007', 'a', 70)";
    db() << "INSERT INTO TESTE_DELTA (CDCHAVE, NMTEXTO, NRCONTA) VALUES ('0012', 'b', 5)";
    db() << "INSERT INTO TESTE_DELTA (CDCHAVE, NMTEXTO, NRCONTA) VALUES ('0009', 'a', 9)";
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "CDCHAVE"), 12);
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "CDCHAVE", {{"NMTEXTO", "a"}}), 9);
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "CDCHAVE", {{"NMTEXTO", "a"}, {"CDCHAVE", "0007"}}), 7);
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "NRCONTA"), 70);
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "CDCHAVE", {{"NMTEXTO", "z"}}), 0);
    // Text that is no number, and a table that is not there, count as nothing yet.
    db() << "INSERT INTO TESTE_DELTA (CDCHAVE, NMTEXTO) VALUES ('X1', 'x')";
    EXPECT_EQ(d.highestNumber(db(), "TESTE_DELTA", "CDCHAVE"), 0);
    EXPECT_EQ(d.highestNumber(db(), "TESTE_NENHUMA", "CDCHAVE"), 0);
    EXPECT_THROW(d.highestNumber(db(), "TESTE_DELTA; DROP TABLE X", "CDCHAVE"), core::Error);
}

}  // namespace
