#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"
#include "appserver/dialect/dialect.h"
#include "appserver/stock/stock.h"

namespace appserver::demo {

std::string nextStockPosting(soci::session& db, const std::string& branch) {
    return stock::nextPostingNumber(db, dialectOf(db), branch);
}

std::pair<std::string, std::string> storeOf(const Product& product, char kind) {
    if (product.type == 'R') return {"000006", "000001"};
    const bool material = product.type == 'M' || product.type == 'E';
    switch (kind) {
        case 'Q':
            return {material ? "000001" : "000003", "000001"};
        case 'L':
            return {material ? "000002" : "000004", "000001"};
        default:
            return {"000005", "000001"};
    }
}

namespace {

struct LotSpec {
    const char* branch;
    const char* productTree;
    const char* lot;
    const char* subLot;
    char store;  // Q quarantine, L released, R rejected
    double quantity;
    int madeDaysAgo;
    const char* supplier;  // index into suppliers(), "" for none
    const char* invoice;
    const char* order;
};

const LotSpec kLots[] = {
    {"0001", "1010010001", "AC240301", " ", 'Q', 500, 20, "1", "0000000501", ""},
    {"0001", "1010010001", "AC240115", " ", 'L', 320, 60, "1", "", ""},
    {"0001", "1010010001", "AC231120", " ", 'R', 150, 120, "1", "", ""},
    {"0001", "1010010002", "BZ240210", " ", 'Q', 200, 25, "1", "", ""},
    {"0001", "1010010002", "BZ240110", " ", 'Q', 80, 60, "1", "", ""},
    {"0001", "1010010003", "AS240302", " ", 'Q', 50, 5, "1", "", ""},
    {"0001", "1010020001", "AZ240305", " ", 'Q', 2000, 10, "5", "0000000504", ""},
    {"0001", "1010020001", "AZ240220", " ", 'L', 1200, 25, "5", "", ""},
    {"0001", "1010020001", "AZ240220", "0001", 'R', 300, 25, "5", "", ""},
    {"0001", "1010020001", "AZ240310", " ", 'Q', 10, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0001", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0002", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0003", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0004", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0005", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0006", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020001", "AZ240310", "0007", 'R', 1, 3, "5", "", ""},
    {"0001", "1010020002", "SC240228", " ", 'Q', 5000, 15, "3", "0000000503", ""},
    {"0001", "2010010001", "FP240301", " ", 'Q', 20000, 8, "2", "0000000502", ""},
    {"0001", "2010010001", "FP240201", " ", 'L', 15000, 40, "2", "", ""},
    {"0001", "2010010002", "TP240301", " ", 'Q', 50000, 6, "2", "0000000505", ""},
    {"0001", "2010010003", "GP240225", " ", 'L', 12000, 14, "2", "", ""},
    {"0001", "2020010002", "RT240301", " ", 'R', 30000, 7, "6", "", ""},
    {"0001", "2020010001", "CX240215", " ", 'Q', 800, 20, "6", "", ""},
    {"0001", "3010010001", "XB240305", " ", 'Q', 3000, 3, "", "", "0000001001"},
    {"0001", "3010010001", "XB240215", " ", 'R', 2500, 22, "", "", "0000000997"},
    {"0001", "3010010001", "XB240301", " ", 'Q', 1500, 7, "", "", "0000000999"},
    {"0001", "3010010002", "SG240306", " ", 'Q', 8000, 2, "", "", "0000001002"},
    {"0001", "3010010002", "SG240226", " ", 'L', 7000, 11, "", "", "0000000998"},
    {"0001", "4010010001", "SL240306", " ", 'Q', 4800, 2, "", "", "0000001003"},
    {"0001", "4010010001", "SL240301", " ", 'L', 6000, 7, "", "", "0000000995"},
    {"0001", "4010010001", "SL240220", " ", 'R', 1200, 16, "", "", ""},
    {"0001", "4010010001", "SL240228", " ", 'L', 3000, 9, "", "", ""},
    {"0001", "4010010001", "SL240228", "0001", 'R', 600, 9, "", "", ""},
    {"0001", "4010010002", "SM240305", " ", 'Q', 7200, 3, "", "", "0000001004"},
    {"0001", "4010010003", "NU240304", " ", 'Q', 2400, 4, "", "", "0000001005"},
    {"0001", "4010010003", "NU240210", " ", 'Q', 1000, 26, "", "", ""},
    {"0001", "1020010001", "NA2401", " ", 'L', 20, 70, "1", "", ""},
    {"0001", "1020010002", "FF2312", " ", 'L', 1.5, 90, "1", "", ""},
    {"0001", "1020010003", "AG2402", " ", 'L', 5, 30, "1", "", ""},
    {"0002", "4010010001", "SL240307", " ", 'Q', 3600, 1, "", "", "0000002001"},
    {"0002", "1010020001", "AZ240301", " ", 'Q', 1000, 7, "5", "0000000601", ""},
    {"0002", "1010020001", "AZ240201", " ", 'R', 900, 35, "5", "", ""},
    {"0002", "2020010001", "CX240301", " ", 'L', 5000, 6, "6", "", ""},
    {"0002", "2020010001", "CX240215", " ", 'Q', 300, 20, "6", "", ""},
    {"0002", "1020010001", "NA2402", " ", 'L', 10, 40, "1", "", ""},
};

std::optional<std::string> text(const char* s) {
    if (!s || !*s) return std::nullopt;
    return std::string(s);
}

}  // namespace

void seedStock(soci::session& db) {
    struct Store {
        const char* code;
        const char* name;
        const char* kind;
    };
    const Store stores[] = {
        {"000001", "Quarentena Matéria-Prima", "Q"}, {"000002", "Matéria-Prima Liberada", "L"},
        {"000003", "Quarentena Produto Acabado", "Q"}, {"000004", "Produto Acabado Liberado", "L"},
        {"000005", "Reprovados", "R"},                {"000006", "Laboratório - Reagentes", "L"},
        {"000007", "Produção", "P"},
    };
    for (const char* branch : {"0001", "0002"}) {
        for (const auto& s : stores) {
            Row(db, "ALMOXARIFADO")
                .s("CDFILIAL", branch)
                .s("CDALMOXARIFE", s.code)
                .s("DSALMOXARIFE", s.name)
                .s("IDTPALMOX", s.kind)
                .insert();
            Row(db, "LOCALESTOQUE")
                .s("CDFILIAL", branch)
                .s("CDALMOXARIFE", s.code)
                .s("CDLOCALESTOQ", "000001")
                .s("DSLOCALESTOQ", "Área Geral")
                .insert();
        }
        Row(db, "LOCALESTOQUE")
            .s("CDFILIAL", branch)
            .s("CDALMOXARIFE", "000001")
            .s("CDLOCALESTOQ", "000002")
            .s("DSLOCALESTOQ", "Câmara Fria")
            .insert();

        for (const auto& p : products()) {
            const auto [qStore, qLoc] = storeOf(p, 'Q');
            const auto [lStore, lLoc] = storeOf(p, 'L');
            const auto [rStore, rLoc] = storeOf(p, 'R');
            const bool material = p.type == 'M' || p.type == 'E' || p.type == 'R';
            // The southern branch has no rejected store for the grape nectar, so its
            // lots cannot be approved partially there.
            const bool noRejected = std::string(branch) == "0002" && p.tree == "4010010003";
            Row row(db, "PRODFILIAL");
            row.s("CDFILIAL", branch).s("CDPRODUTO", p.code);
            if (material) {
                row.s("CDALMOXARIFE", qStore).s("CDLOCALESTOQ", qLoc).s("CDALMOXINSPR", lStore).s("CDLOCALINSPR", lLoc);
            } else {
                row.s("CDALMOXQUAR", qStore).s("CDLOCALQUAR", qLoc).s("CDALMOXPRACA", lStore).s("CDLOCALPRACA", lLoc);
            }
            if (!noRejected) row.s("CDALMOXREPROV", "000005").s("CDLOCALREPROV", "000001");
            row.insert();
        }
    }

    // The bulk juice is filled into the 1 L and 500 ml packs.
    Row(db, "PRODESTOQUE")
        .s("CDPRODUTO", productByTree("3010010002").code)
        .s("CDPRODESTO", productByTree("4010010001").code)
        .d("VRFATOCONVPR", 1.0)
        .insert();
    Row(db, "PRODESTOQUE")
        .s("CDPRODUTO", productByTree("3010010002").code)
        .s("CDPRODESTO", productByTree("4010010002").code)
        .d("VRFATOCONVPR", 0.5)
        .insert();

    for (const auto& l : kLots) {
        const auto& p = productByTree(l.productTree);
        const char situation = p.type == 'R' ? 'L' : l.store == 'Q' ? 'A' : l.store;
        const double made = dayAt(-l.madeDaysAgo, 8, 0);
        const std::optional<std::string> supplier =
            *l.supplier ? std::optional<std::string>(suppliers()[std::stoi(l.supplier) - 1].code) : std::nullopt;
        Row(db, "LOTE")
            .s("CDFILIAL", l.branch)
            .s("CDPRODUTO", p.code)
            .s("NRLOTEESTQ", l.lot)
            .s("NRSUBLOTE", l.subLot)
            .s("NRLOTEFORN", supplier ? std::optional<std::string>(std::string("F-") + l.lot) : std::nullopt)
            .s("CDFORNECED", supplier)
            .s("NRLANCTONF", text(l.invoice))
            .s("NRORDPROD", text(l.order))
            .s("NRSUBORDPROD", *l.order ? std::optional<std::string>("1") : std::nullopt)
            .d("DTFABRPROD", made)
            .d("DTVALILOTE", made + p.validityMonths * 30 * 2)
            .d("DTVALIANALOTE", situation == 'A' ? std::nullopt : std::optional<double>(made + p.validityMonths * 30))
            .s("IDSITLOTE", std::string(1, situation))
            .d("QTPRODLOTE", l.quantity)
            .d("VRAPROVPROD", situation == 'L' ? l.quantity : 0.0)
            .d("DTINCLUSAO", made)
            .insert();
        const auto [store, location] = storeOf(p, l.store);
        Row(db, "POSESTOQUE")
            .s("CDFILIAL", l.branch)
            .s("CDALMOXARIFE", store)
            .s("CDLOCALESTOQ", location)
            .s("CDPRODUTO", p.code)
            .s("NRLOTEESTQ", l.lot)
            .s("NRSUBLOTE", l.subLot)
            .d("QTESTOQUE", l.quantity)
            .d("VRCUSTOUNIT", p.unitCost)
            .s("NRTPCUSTOOP", "01")
            .d("DTULTMOVEST", made)
            .insert();
        Row(db, "MOVESTOQUE")
            .s("CDFILIAL", l.branch)
            .s("NRLANCTOESTQ", nextStockPosting(db, l.branch))
            .i("NRSEQMOVEST", 1)
            .s("IDTPMOVEST", "E")
            .s("CDALMOXARIFE", store)
            .s("CDLOCALESTOQ", location)
            .s("CDPRODUTO", p.code)
            .s("NRLOTEESTQ", l.lot)
            .s("NRSUBLOTE", l.subLot)
            .d("QTMOVEST", l.quantity)
            .d("VRCUSTOUNIT", p.unitCost)
            .d("DTMOVEST", made)
            .s("CDOPERADOR", "DEMO")
            .s("DSLANCTOEST", *l.invoice ? "Entrada por nota fiscal" : *l.order ? "Entrada de produção" : "Saldo inicial")
            .insert();
    }

    // Production orders. IDSITORDPROD: 1 planned, 2 in production, 3 closed, 4 cancelled.
    struct Order {
        const char* branch;
        const char* number;
        const char* productTree;
        double quantity;
        const char* situation;
        const char* lot;
        const char* equipment;
        int openedDaysAgo;
    };
    const Order orders[] = {
        {"0001", "0000000995", "4010010001", 6000, "3", "SL240301", "0000000008", 8},
        {"0001", "0000000997", "3010010001", 2500, "3", "XB240215", "0000000007", 23},
        {"0001", "0000000998", "3010010002", 7000, "3", "SG240226", "0000000007", 12},
        {"0001", "0000000999", "3010010001", 1500, "4", "XB240301", "0000000007", 8},
        {"0001", "0000001001", "3010010001", 3000, "2", "XB240305", "0000000007", 4},
        {"0001", "0000001002", "3010010002", 8000, "2", "SG240306", "0000000007", 3},
        {"0001", "0000001003", "4010010001", 4800, "2", "SL240306", "0000000008", 3},
        {"0001", "0000001004", "4010010002", 7200, "2", "SM240305", "0000000008", 4},
        {"0001", "0000001005", "4010010003", 2400, "1", "NU240304", "0000000008", 5},
        {"0002", "0000002001", "4010010001", 3600, "2", "SL240307", "0000000008", 2},
    };
    for (const auto& o : orders) {
        const bool closed = std::string(o.situation) == "3";
        Row(db, "ORDEMPROD")
            .s("CDFILIAL", o.branch)
            .s("NRORDPROD", o.number)
            .s("NRSUBORDPROD", "1")
            .s("CDPRODUTO", productByTree(o.productTree).code)
            .d("QTPRODUZIR", o.quantity)
            .s("IDSITORDPROD", o.situation)
            .s("NRLOTEESTQ", o.lot)
            .s("CDEQUIPPRO", o.equipment)
            .d("DTABERTURA", dayAt(-o.openedDaysAgo, 7, 0))
            .d("DTENCERRA", closed ? std::optional<double>(dayAt(-o.openedDaysAgo + 2, 17, 0)) : std::nullopt)
            .insert();
        if (std::string(o.situation) != "2") continue;
        const char* stages[][2] = {{"MISTURA", "Mistura"}, {"PASTEURIZ", "Pasteurização"}, {"ENVASE", "Envase"}};
        for (int n = 0; n < 3; ++n) {
            Row(db, "ETAPAORDPROD")
                .s("CDFILIAL", o.branch)
                .s("NRORDPROD", o.number)
                .s("NRSUBORDPROD", "1")
                .s("CDETAPAPROD", stages[n][0])
                .s("NMETAPAPROD", stages[n][1])
                .d("DTINIETAPA", n == 0 ? std::optional<double>(dayAt(-o.openedDaysAgo + 1, 8, 0)) : std::nullopt)
                .null("DTFINETAPA")
                .insert();
        }
    }

    // Supplier invoices and their instalments; some are overdue, some paid, some
    // with a payment bill already released.
    struct Invoice {
        const char* branch;
        const char* entry;
        const char* number;
        const char* supplier;
        int issuedDaysAgo;
        double total;
    };
    const Invoice invoices[] = {
        {"0001", "0000000501", "000123", "1", 12, 4900.00},
        {"0001", "0000000502", "004567", "2", 45, 6400.00},
        {"0001", "0000000503", "000890", "3", 70, 37250.00},
        {"0001", "0000000504", "000077", "5", 20, 6200.00},
        {"0001", "0000000505", "004601", "2", 8, 3000.00},
        {"0002", "0000000601", "000081", "5", 9, 3100.00},
    };
    for (const auto& n : invoices) {
        Row(db, "NOTAFISCAL")
            .s("CDFILIAL", n.branch)
            .s("NRLANCTONF", n.entry)
            .s("NRNOTAFISC", n.number)
            .s("SGSERIENF", "1")
            .s("CDFORNECED", suppliers()[std::stoi(n.supplier) - 1].code)
            .d("DTEMISSAONF", dayAt(-n.issuedDaysAgo))
            .d("DTENTRADANF", dayAt(-n.issuedDaysAgo + 1))
            .d("VRTOTALNF", n.total)
            .insert();
    }
    struct Instalment {
        const char* branch;
        const char* entry;
        int number;
        int days;  // after issue
        double value;
        const char* status;
        const char* bill;
    };
    const Instalment instalments[] = {
        {"0001", "0000000501", 1, 28, 2450.00, "A", ""},
        {"0001", "0000000501", 2, 56, 2450.00, "A", ""},
        {"0001", "0000000502", 1, 30, 2133.34, "A", "0000000901"},  // overdue, bill released
        {"0001", "0000000502", 2, 60, 2133.33, "A", ""},
        {"0001", "0000000502", 3, 90, 2133.33, "A", ""},
        {"0001", "0000000503", 1, 30, 12416.67, "B", "0000000902"},  // paid
        {"0001", "0000000503", 2, 60, 12416.67, "A", ""},            // overdue, open
        {"0001", "0000000503", 3, 90, 12416.66, "A", "0000000903"},  // bill not yet released
        {"0001", "0000000504", 1, 15, 6200.00, "A", "0000000904"},   // overdue, bill released
        {"0001", "0000000505", 1, 28, 3000.00, "A", ""},
        {"0002", "0000000601", 1, 7, 3100.00, "A", ""},  // overdue
    };
    int issued = 0;
    for (const auto& i : instalments) {
        for (const auto& n : invoices) {
            if (std::string(n.entry) == i.entry) issued = n.issuedDaysAgo;
        }
        const bool paid = std::string(i.status) == "B";
        Row(db, "VENCPAGAR")
            .s("CDFILIAL", i.branch)
            .s("NRLANCTONF", i.entry)
            .i("NRPARCELA", i.number)
            .s("QTDIASVENPAG", std::to_string(i.days) + " dias")
            .d("DTORIGVENPAG", dayAt(-issued + i.days))
            .d("VRORIGPAG", i.value)
            .s("IDSTATPAG", i.status)
            .d("DTPAGAMENTO", paid ? std::optional<double>(dayAt(-issued + i.days - 1)) : std::nullopt)
            .s("NRLANBOLPAG", text(i.bill))
            .insert();
    }
    struct Bill {
        const char* number;
        const char* situation;
        int releasedDaysAgo;
        double value;
    };
    const Bill bills[] = {
        {"0000000901", "L", 16, 2133.34},
        {"0000000902", "B", 41, 12416.67},
        {"0000000903", "P", 0, 12416.66},
        {"0000000904", "L", 6, 6200.00},
    };
    for (const auto& b : bills) {
        const bool released = std::string(b.situation) != "P";
        Row(db, "BOLETPAGAR")
            .s("CDFILIAL", "0001")
            .s("NRLANBOLPAG", b.number)
            .s("IDSITBOLPAG", b.situation)
            .d("DTLIBBOLPAG", released ? std::optional<double>(dayAt(-b.releasedDaysAgo)) : std::nullopt)
            .d("VRBOLPAG", b.value)
            .insert();
    }
}

}  // namespace appserver::demo
