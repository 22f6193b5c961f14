// A database written before requests, inspections and items dropped their copied names: the
// new server migrates it, and they still read whole, their names now from the sources.
#include <gtest/gtest.h>
#include <soci/soci.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "appserver/schema/migrations.h"
#include "appserver/server.h"
#include "appserver/sessions/login_session.h"
#include "core/recordset.h"
#include "open_criteria.h"
#include "platform/host.h"
#include "records/record_set.h"
#include "records/request_record.h"
#include "support/test_server.h"

namespace {

// An empty database of its own: a temporary SQLite file, or a fresh PostgreSQL
// schema when MXA_TEST_PG names the test cluster.
class EmptyDatabase {
public:
    EmptyDatabase() {
        const std::string suffix = std::to_string(::getpid()) + "_" + std::to_string(std::rand() % 100000);
        const char* pg = std::getenv("MXA_TEST_PG");
        if (pg && *pg) {
            admin_ = pg;
            schema_ = "mxa_migracao_" + suffix;
            soci::session("postgresql", admin_) << "CREATE SCHEMA " + schema_;
            backend_ = "postgresql";
            connect_ = admin_ + " options='-csearch_path=" + schema_ + "'";
            address_ = "postgresql:" + connect_;
        } else {
            file_ = (std::filesystem::temp_directory_path() / ("mxa07300_migracao_" + suffix + ".db")).string();
            backend_ = "sqlite3";
            connect_ = file_;
            address_ = "sqlite:" + file_;
        }
    }
    ~EmptyDatabase() {
        if (!file_.empty())
            for (const char* s : {"", "-wal", "-shm"}) std::filesystem::remove(file_ + s);
        if (!schema_.empty()) {
            soci::session admin("postgresql", admin_);
            admin << "SET client_min_messages TO WARNING";
            admin << "DROP SCHEMA " + schema_ + " CASCADE";
        }
    }
    std::unique_ptr<soci::session> open() const { return std::make_unique<soci::session>(backend_, connect_); }
    const std::string& address() const { return address_; }

private:
    std::string backend_, connect_, address_, file_, admin_, schema_;
};

// The schema as the server left it before requests dropped their copies.
void createOldSchema(soci::session& db) {
    db << "CREATE TABLE SCHEMA_VERSION (NRVERSAO INTEGER NOT NULL, NMVERSAO VARCHAR(100), "
          "DTAPLICACAO DOUBLE PRECISION, PRIMARY KEY (NRVERSAO))";
    for (const auto& m : appserver::migrations()) {
        if (m.version > 5) break;
        for (const auto& statement : m.statements) db << statement;
        db << "INSERT INTO SCHEMA_VERSION (NRVERSAO, NMVERSAO) VALUES (:v, :n)", soci::use(m.version),
            soci::use(m.name);
    }
}

void seedOldRequests(soci::session& db) {
    db << "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, SGUNIDADE) VALUES ('P1', '1010010001', "
          "'Ácido Cítrico', 'KG')";
    db << "INSERT INTO PRODUTO (CDPRODUTO, CDARVPROD, NMPRODUTO, SGUNIDADE) VALUES ('P2', '3010010001', "
          "'Xarope Base', 'L')";
    db << "INSERT INTO SETOR (CDSETOR, NMSETOR) VALUES ('0001', 'Laboratório Físico-Químico')";
    db << "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR) VALUES ('ANA', 'Ana Souza')";
    db << "INSERT INTO FORNECEDOR (CDFORNECED, NRINSJURFORN, IDTPIJURFORN, NMFANTFORN) VALUES ('F1', "
          "'12345678000199', 'J', 'Química Paulista')";
    db << "INSERT INTO JUSTIFICATIVA (CDJUSTIFICATIVA, DSJUSTIFICATIVA) VALUES ('00001', 'Correção de digitação')";
    db << "INSERT INTO MARCA (CDMARCA, NMMARCA) VALUES ('00001', 'Laranjal')";
    // A re-analysis known only by its text, with a product name that has changed since.
    db << "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, CDPRODUTO, NMPRODUTO, CDARVPROD, SGUNIDADE, "
          "CDSETEXECAUD, NMSETOR, CDOPEINCAUDI, NMOPERADOR, CDJUSTALTERA, DSJUSTIFICATIVA, TIPOANA, NRLOTEESTQ) "
          "VALUES ('0001', '0000000001', 'P1', 'Acido Citrico (antigo)', '1010010001', 'KG', '0001', 'Laboratório', "
          "'ANA', 'Ana', '00001', 'Correção de digitação', 'Reanálise', 'L1')";
    // Product, previous product, supplier, justification and brand known only by their copies.
    db << "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, NMPRODUTO, CDARVPROD, CDARVPRODANTE, NMPRODANTE, "
          "NRINSJURFORN, IDTPIJURFORN, NMFANTFORN, DSJUSTIFICATIVA, NMMARCA, TIPOANA, NRLOTEESTQ) VALUES ('0001', "
          "'0000000002', 'Ácido Cítrico', '1010010001', '3010010001', 'Xarope Base', '12345678000199', 'J', "
          "'Química Paulista', 'Correção de digitação', 'Laranjal', 'Compatibilidade', 'L2')";
    // An inspection whose concluding operator and test subject are known only by their names.
    db << "INSERT INTO INSPECAO (CDINSPECAO, CDARVINSPEC, CDNVINSPECAO, NMINSPECAO) VALUES ('I1', '0101', '2', "
          "'Físico-Química')";
    db << "INSERT INTO COBAIA (CDCOBAIA, NMCOBAIA) VALUES ('0000000001', 'Coelho C-01')";
    db << "INSERT INTO INSPECAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, CDARVINSPEC, NMINSPECAO, "
          "NMOPERADOR, NMCOBAIA, DSANALISE) VALUES ('0001', '0000000001', '001', 'I1', '0101', 'Fisico-Quimica', "
          "'Ana Souza', 'Coelho C-01', 'Fisico-Quimica')";
    // Its item known by the operator's name and the immeasurable result's text only.
    db << "INSERT INTO INSPECAO (CDINSPECAO, CDARVINSPEC, CDNVINSPECAO, NMINSPECAO) VALUES ('I11', '0101001', '3', "
          "'Contagem Total')";
    db << "INSERT INTO ITEMINSAUDIT (CDFILIAL, NRAUDITORIA, NRINSPECAUDI, CDINSPECAO, CDARVINSPEC, NMINSPECAO, "
          "NMOPERADOR, RESULTADO) VALUES ('0001', '0000000001', '001', 'I11', '0101001', 'Contagem', 'Ana Souza', "
          "'Incontável')";
    // The kind's code already there, no text.
    db << "INSERT INTO AUDITORIA (CDFILIAL, NRAUDITORIA, IDTIPOANA, NRLOTEESTQ) VALUES ('0001', '0000000003', 'C', "
          "'L3')";
}

TEST(RequestMigration, OldRequestsStayReadableWithTheirNamesFromTheSources) {
    EmptyDatabase database;
    {
        auto db = database.open();
        createOldSchema(*db);
        seedOldRequests(*db);
    }
    appserver::Options options;
    options.db = database.address();
    options.threads = 2;
    appserver::Server server(options);
    server.start();
    {
        auto db = database.open();
        platform::session().token = appserver::openLoginSession(*db, "DEMO", "0001");
    }

    auto answer = testsupport::callAt(server.port(), "GetAuditoria", openCriteria("0001"));
    ASSERT_FALSE(answer.result.isError()) << answer.result.error;
    core::RecordSet list("cdsAuditoria");
    records::declareSet(list, records::requestRecord());
    list.setData(*answer.result.packet);
    ASSERT_EQ(list.recordCount(), 3);

    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000001"));
    EXPECT_EQ(list["NMPRODUTO"].asString(), "Ácido Cítrico");
    EXPECT_EQ(list["CDARVPROD"].asString(), "1010010001");
    EXPECT_EQ(list["SGUNIDADE"].asString(), "KG");
    EXPECT_EQ(list["NMSETOR"].asString(), "Laboratório Físico-Químico");
    EXPECT_EQ(list["NMOPERADOR"].asString(), "Ana Souza");
    EXPECT_EQ(list["DSJUSTIFICATIVA"].asString(), "Correção de digitação");
    EXPECT_EQ(list["TIPOANA"].asString(), "Reanálise");

    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000002"));
    EXPECT_EQ(list["CDPRODUTO"].asString(), "P1");
    EXPECT_EQ(list["NMPRODUTO"].asString(), "Ácido Cítrico");
    EXPECT_EQ(list["CDPRODANTE"].asString(), "P2");
    EXPECT_EQ(list["NMPRODANTE"].asString(), "Xarope Base");
    EXPECT_EQ(list["CDFORNECED"].asString(), "F1");
    EXPECT_EQ(list["NRINSJURFORN"].asString(), "12345678000199");
    EXPECT_EQ(list["NMFANTFORN"].asString(), "Química Paulista");
    EXPECT_EQ(list["CDJUSTALTERA"].asString(), "00001");
    EXPECT_EQ(list["CDMARCAPROD"].asString(), "00001");
    EXPECT_EQ(list["NMMARCA"].asString(), "Laranjal");
    EXPECT_EQ(list["TIPOANA"].asString(), "Compatibilidade");

    ASSERT_TRUE(list.locate("NRAUDITORIA", "0000000003"));
    EXPECT_EQ(list["TIPOANA"].asString(), "Compatibilidade");
    EXPECT_TRUE(list["NMPRODUTO"].isNull());

    // The kind moved into its code: the filter by kind finds them.
    auto reanalyses = testsupport::callAt(server.port(), "GetAuditoria", openCriteria("0001", {{"stTipoAna", "_R"}}));
    ASSERT_FALSE(reanalyses.result.isError()) << reanalyses.result.error;
    ASSERT_EQ(reanalyses.result.packet->rows.size(), 1u);
    EXPECT_EQ(reanalyses.result.packet->rows[0][reanalyses.result.packet->fieldIndex("NRAUDITORIA")].asString(),
              "0000000001");
    auto compatibility =
        testsupport::callAt(server.port(), "GetAuditoria", openCriteria("0001", {{"stTipoAna", "_C"}}));
    ASSERT_FALSE(compatibility.result.isError()) << compatibility.result.error;
    EXPECT_EQ(compatibility.result.packet->rows.size(), 2u);

    // The inspection got its codes back from the copies; names come from the sources.
    auto inspections = testsupport::callAt(server.port(), "GetInspecAudit", {"0001", "0000000001"});
    ASSERT_FALSE(inspections.result.isError()) << inspections.result.error;
    const auto& p = *inspections.result.packet;
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0][p.fieldIndex("CDOPECONCINS")].asString(), "ANA");
    EXPECT_EQ(p.rows[0][p.fieldIndex("NMOPERADOR")].asString(), "Ana Souza");
    EXPECT_EQ(p.rows[0][p.fieldIndex("CDCOBAIA")].asString(), "0000000001");
    EXPECT_EQ(p.rows[0][p.fieldIndex("NMCOBAIA")].asString(), "Coelho C-01");
    EXPECT_EQ(p.rows[0][p.fieldIndex("NMINSPECAO")].asString(), "Físico-Química");

    // And so did its item.
    auto items = testsupport::callAt(server.port(), "GetItemInsAudit", {"0001", "0000000001", "001"});
    ASSERT_FALSE(items.result.isError()) << items.result.error;
    const auto& i = *items.result.packet;
    ASSERT_EQ(i.rows.size(), 1u);
    EXPECT_EQ(i.rows[0][i.fieldIndex("CDOPERADOR")].asString(), "ANA");
    EXPECT_EQ(i.rows[0][i.fieldIndex("NMOPERADOR")].asString(), "Ana Souza");
    EXPECT_EQ(i.rows[0][i.fieldIndex("IDRESULTIMENS")].asString(), "T");
    EXPECT_EQ(i.rows[0][i.fieldIndex("NMINSPECAO")].asString(), "Contagem Total");
    server.stop();
}

}  // namespace
