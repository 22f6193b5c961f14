// The partial approval on the server: what its dialog reads, and the concluding save
// that splits the lot into a released part and a rejected sub-lot.
#include <string>
#include <tuple>
#include <vector>

#include "core/datetime.h"
#include "core/format.h"
#include "core/recordset.h"
#include "fixture.h"
#include "open_criteria.h"
#include "records/record_set.h"
#include "records/request_record.h"
#include "support/request_saves.h"

namespace {

using testsupport::SaveFlags;

// Demo request 0001/31: Açúcar Cristal (0000000004), lot AZ240310, 10 in quarantine,
// sub-lots 0001 to 0007 already there.
const std::string kRequest = "0000000031";
const std::string kProduct = "0000000004";
const std::string kLot = "AZ240310";

class PartialApprovalTest : public ServerSuite {
protected:
    static core::Packet packet(const std::string& method, std::vector<core::Variant> args) {
        const auto a = testsupport::call(method, std::move(args));
        EXPECT_FALSE(a.result.isError()) << method << ": " << a.result.error;
        return a.result.packet ? *a.result.packet : core::Packet{};
    }
    static std::string cell(const core::Packet& p, size_t row, const std::string& field) {
        if (row >= p.rows.size()) return "<no row>";
        const auto& v = p.rows[row][p.fieldIndex(field)];
        return v.isNull() ? "<null>" : v.asString();
    }
    static double value(const std::string& sql) {
        double out = -1;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : -1;
    }
    static std::string text(const std::string& sql) {
        std::string out;
        soci::indicator ind = soci::i_ok;
        db() << sql, soci::into(out, ind);
        return ind == soci::i_ok ? out : "<null>";
    }
    // The lot's position in a store under a sub-lot; -1 when there is none.
    static double position(const std::string& store, const std::string& subLot) {
        return value("SELECT QTESTOQUE FROM POSESTOQUE WHERE CDFILIAL = '0001' AND CDALMOXARIFE = '" + store +
                     "' AND NRLOTEESTQ = '" + kLot + "' AND NRSUBLOTE = '" + subLot + "'");
    }
    // What a refused save must leave as it was.
    static std::string snapshot() {
        std::string out = text(
            "SELECT IDSTATUSAUDI || '/' || COALESCE(NRSUBLOTEPARC, '-') FROM AUDITORIA WHERE "
            "CDFILIAL = '0001' AND NRAUDITORIA = '" +
            kRequest + "'");
        soci::rowset<soci::row> lots = (db().prepare << "SELECT NRSUBLOTE, IDSITLOTE FROM LOTE WHERE NRLOTEESTQ = '" +
                                                            kLot + "' ORDER BY NRSUBLOTE");
        for (const auto& r : lots) out += "|" + r.get<std::string>(0) + r.get<std::string>(1);
        soci::rowset<soci::row> positions =
            (db().prepare << "SELECT CDALMOXARIFE, NRSUBLOTE, QTESTOQUE FROM POSESTOQUE WHERE NRLOTEESTQ = '" + kLot +
                                 "' ORDER BY CDALMOXARIFE, NRSUBLOTE");
        for (const auto& r : positions)
            out += "|" + r.get<std::string>(0) + r.get<std::string>(1) + "=" +
                   core::formatFloat("0.000", r.get<double>(2));
        return out + "|" + text("SELECT CAST(COUNT(*) AS VARCHAR(10)) FROM MOVESTOQUE");
    }
    // The request concluded not OK with the dialog's quantities.
    static core::CallAnswer conclude(double approved, double rejected, const std::string& subLot) {
        core::RecordSet set;
        records::declareSet(set, records::requestRecord());
        auto a = testsupport::call("GetAuditoria", openCriteria("0001"));
        EXPECT_FALSE(a.result.isError()) << a.result.error;
        set.setData(*a.result.packet);
        EXPECT_TRUE(set.locate("NRAUDITORIA", kRequest));
        set.edit();
        set["IDSTATUSAUDI"].setValue("5");
        set.post();
        SaveFlags f;
        f.concludes = true;
        f.nullFields = "_NRLOTEFORN_DTFABRPROD";
        f.approved = approved;
        f.rejected = rejected;
        f.newSubLot = subLot;
        return testsupport::call("SetAuditoria", testsupport::setAuditoriaArgs(set, f));
    }
};

TEST_F(PartialApprovalTest, ReadsAnswerTheMarkedItemsTheStoresAndTheLotsStock) {
    const auto items = packet("GetItensParciais", {"0001", kRequest});
    ASSERT_EQ(items.rows.size(), 1u);
    EXPECT_EQ(cell(items, 0, "NMINSPECAO"), "Contagem Total de Bactérias");
    EXPECT_EQ(cell(items, 0, "IDOPCACEITIN"), "N");
    EXPECT_EQ(cell(items, 0, "IDPARCIAL"), "S");
    EXPECT_NE(cell(items, 0, "NMOPERADOR"), "<null>");
    EXPECT_TRUE(packet("GetItensParciais", {"0001", "0000000030"}).rows.empty());

    const auto stores = packet("GetProdFili", {"0001", kProduct});
    ASSERT_EQ(stores.rows.size(), 1u);
    EXPECT_EQ(cell(stores, 0, "CDALMOXARIFE") + " " + cell(stores, 0, "DSALMOXARIFE"),
              "000001 Quarentena Matéria-Prima");
    EXPECT_EQ(cell(stores, 0, "DSALMOXINSPR"), "Matéria-Prima Liberada");
    EXPECT_EQ(cell(stores, 0, "CDALMOXREPROV") + " " + cell(stores, 0, "DSALMOXREPROV"), "000005 Reprovados");
    EXPECT_EQ(cell(stores, 0, "DSALMOXQUAR"), "<null>");  // raw material has no product quarantine

    const auto params = packet("GetParaMan", {"0001"});
    EXPECT_EQ(cell(params, 0, "IDUTSEGLIBLOTE") + cell(params, 0, "IDLIBLOTEEST"), "S1");

    // The position where the lot lies, padded codes and an empty sub-lot as the screen sends them.
    auto a =
        testsupport::call("GetPosEstDia", {kProduct, "0001", "000001 ", " 000001", kLot, "", core::DateTime::now()});
    ASSERT_FALSE(a.result.isError()) << a.result.error;
    EXPECT_EQ(cell(*a.result.packet, 0, "QTESTOQDIA"), "10");
    EXPECT_EQ(cell(*a.result.packet, 0, "NMPRODUTO"), "Açúcar Cristal");
    ASSERT_EQ(a.out.size(), 2u);
    EXPECT_EQ(a.out[0].second.value.asString() + a.out[1].second.value.asString(), "000001000001");
    const auto elsewhere =
        packet("GetPosEstDia", {kProduct, "0001", "000002", "000001", kLot, " ", core::DateTime::now()});
    EXPECT_EQ(cell(elsewhere, 0, "QTESTOQDIA"), "0");
    EXPECT_TRUE(
        packet("GetPosEstDia", {"XX", "0001", "000001", "000001", kLot, "", core::DateTime::now()}).rows.empty());

    EXPECT_EQ(cell(packet("GetProxSubLote", {"0001", kLot}), 0, "NRSUBLOTE"), "0007");
    EXPECT_EQ(cell(packet("GetProxSubLote", {"0001", "AS240302"}), 0, "NRSUBLOTE"), "<null>");
}

TEST_F(PartialApprovalTest, ConclusionSplitsTheLotOrRefusesLeavingEverythingAsItWas) {
    // The last inspection concluded, so the request may be.
    db() << "UPDATE INSPECAUDIT SET IDINSPCONC = 'N' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + kRequest + "'";
    const std::string before = snapshot();
    for (const auto& [approved, rejected, subLot, refusal] :
         {std::tuple{12.0, -2.0, std::string("0008"), std::string("negativa")},
          std::tuple{7.0, 2.0, std::string("0008"), std::string("difere")},
          std::tuple{7.0, 3.0, std::string("0007"), std::string("já existe")},
          std::tuple{7.0, 3.0, std::string(" "), std::string("deve ser informado")}}) {
        const auto a = conclude(approved, rejected, subLot);
        EXPECT_NE(a.result.error.find(refusal), std::string::npos) << a.result.error;
        EXPECT_EQ(snapshot(), before);
    }

    const auto done = conclude(7, 3, "0008");
    ASSERT_FALSE(done.result.isError()) << done.result.error;
    const std::string lot = " FROM LOTE WHERE CDFILIAL = '0001' AND NRLOTEESTQ = '" + kLot + "' AND NRSUBLOTE = ";
    EXPECT_EQ(text("SELECT IDSITLOTE || NRSUBLOTEORIG" + lot + "'0008'"), "R ");
    EXPECT_EQ(value("SELECT QTPRODLOTE" + lot + "'0008'"), 3);
    EXPECT_EQ(text("SELECT IDSITLOTE" + lot + "' '"), "L");
    EXPECT_EQ(position("000001", " "), 0);
    EXPECT_EQ(position("000002", " "), 7);
    EXPECT_EQ(position("000005", "0008"), 3);
    EXPECT_EQ(value("SELECT SUM(QTESTOQUE) FROM POSESTOQUE WHERE NRLOTEESTQ = '" + kLot +
                    "' AND NRSUBLOTE IN (' ', "
                    "'0008')"),
              10);
    // Every posting names the request; the rejected part's out and in rows pair up.
    const std::string mine = " FROM MOVESTOQUE WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + kRequest + "'";
    EXPECT_EQ(value("SELECT COUNT(*)" + mine), 4);
    EXPECT_EQ(value("SELECT COUNT(*)" + mine + " AND IDTPMOVEST = 'E' AND CDALMOXARIFE = '000002' AND QTMOVEST = 7"),
              1);
    const std::string out = text("SELECT NRLANCTOESTQ" + mine + " AND IDTPMOVEST = 'S' AND QTMOVEST = 3");
    const std::string in =
        text("SELECT NRLANCTOESTQ" + mine + " AND IDTPMOVEST = 'E' AND CDALMOXARIFE = '000005' AND NRSUBLOTE = '0008'");
    EXPECT_NE(out, "<null>");
    EXPECT_EQ(out, in);
    EXPECT_EQ(text("SELECT IDSTATUSAUDI || NRSUBLOTEPARC FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" +
                   kRequest + "'"),
              "50008");
    EXPECT_EQ(value("SELECT QTESTQAPROVA * 10 + QTESTQREPROVA FROM AUDITORIA WHERE NRAUDITORIA = '" + kRequest +
                    "' AND CDFILIAL = '0001'"),
              73);
}

}  // namespace
