#include <cmath>

#include "appserver/demo/demo_model.h"
#include "appserver/demo/demo_rows.h"
#include "appserver/dialect/dialect.h"
#include "appserver/stock/stock.h"

namespace appserver::demo {

namespace {

struct FormulaSpec {
    int request;
    const char* itemTree;
    const char* productTree;
    const char* lot;
    const char* subLot;
    double quantity;
    bool posted;       // withdrawn from stock
    bool ticked;       // ticked for the next stock update
    const char* sample;  // IDSITAMOSTRA
    bool closed;
    const char* note;
};

// All in the head office.
const FormulaSpec kFormula[] = {
    {3, "0102002", "1020010001", "NA2401", " ", 0.05, true, false, "1", false, "Titulação em duplicata"},
    {3, "0102002", "1020010002", "FF2312", " ", 0.002, false, true, "1", false, "Indicador"},
    {3, "0201001", "1020010003", "AG2402", " ", 0.02, false, false, "1", false, ""},
    {21, "0201001", "1020010003", "AG2402", " ", 0.015, true, false, "2", false, "Placas em estufa"},
    {22, "0102002", "1020010001", "NA2401", " ", 0.04, true, false, "2", true, ""},
    {23, "0201001", "1020010003", "AG2402", " ", 0.015, true, false, "4", true, "Amostra contaminada"},
    {28, "0201001", "1020010003", "AG2402", " ", 0.015, true, false, "5", false, "Repetir com nova amostra"},
    {29, "0302001", "4010010001", "SL240301", " ", 2, true, false, "2", false, "Envase de teste - 30 dias"},
    {29, "0302001", "4010010001", "SL240228", "0001", 2, true, false, "3", false, "Migração de odor"},
};

struct ResourceSpec {
    int request;
    const char* itemTree;
    char type;  // H skill, E equipment
    const char* code;
    const char* op;
    int startHour, startMinute;
    double hours;  // 0: still running
    double hourCost;
    const char* name;
};

const ResourceSpec kResources[] = {
    {3, "0102002", 'H', "001", "ANALISTA", 8, 0, 1.5, 45.0, "Análise Físico-Química"},
    {3, "0102003", 'E', "0000000001", "", 8, 0, 20.0 / 60, 12.5, "pHmetro de Bancada"},
    {21, "0102001", 'H', "001", "DEMO", 9, 10, 0, 45.0, "Análise Físico-Química"},
    {22, "0201001", 'H', "002", "MARIA", 10, 0, 1.5, 55.0, "Análise Microbiológica"},
    {22, "0201001", 'E', "0000000004", "", 10, 30, 48.0, 6.0, "Estufa Bacteriológica"},
    {22, "0102001", 'E', "0000000003", "", 9, 0, 0.25, 10.0, "Refratômetro Digital"},
};

}  // namespace

void seedRequestRecords(soci::session& db) {
    const std::string branch = "0001";
    int seq = 0;
    for (const auto& f : kFormula) {
        const auto& p = productByTree(f.productTree);
        const std::string request = padded(f.request, 10);
        double included = 0;
        std::string analysed, order;
        soci::indicator orderSet = soci::i_null;
        db << "SELECT DTINCLAUDIT, CDPRODUTO, NRORDPROD FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
            soci::into(included), soci::into(analysed), soci::into(order, orderSet), soci::use(branch),
            soci::use(request);
        if (orderSet != soci::i_ok) order.clear();
        // Bound values must outlive the statement, which runs when the whole expression ends.
        const std::string lot(f.lot), subLot(f.subLot);
        double made = 0, validity = 0;
        db << "SELECT DTFABRPROD, DTVALILOTE FROM LOTE WHERE CDFILIAL = :f AND CDPRODUTO = :p AND NRLOTEESTQ = :l "
              "AND NRSUBLOTE = :s",
            soci::into(made), soci::into(validity), soci::use(branch), soci::use(p.code), soci::use(lot),
            soci::use(subLot);
        std::string store, location;
        db << "SELECT CDALMOXARIFE, CDLOCALESTOQ FROM POSESTOQUE WHERE CDFILIAL = :f AND CDPRODUTO = :p AND "
              "NRLOTEESTQ = :l AND NRSUBLOTE = :s",
            soci::into(store), soci::into(location), soci::use(branch), soci::use(p.code), soci::use(lot),
            soci::use(subLot);
        const double withdrawn = included + 2.0 / 24;
        std::optional<std::string> posting;
        if (f.posted) {
            stock::Posting withdrawal;
            withdrawal.number = nextStockPosting(db, branch);
            withdrawal.date = core::DateTime{withdrawn};
            withdrawal.operatorCode = "ANALISTA";
            withdrawal.request = request;
            withdrawal.description = "Lanc.Ref. retirada para análise " + request;
            withdrawal.unitCost = p.unitCost;
            posting = stock::withdraw(db, dialectOf(db), {branch, p.code, f.lot, f.subLot}, {store, location},
                                      f.quantity, withdrawal);
        }
        const double cost = f.quantity * p.unitCost;
        Row(db, "FORMULAANA")
            .s("CDFILIAL", branch)
            .i("NRSEQFORMULA", ++seq)
            .s("NRAUDITORIA", request)
            .s("CDINSPECAO", analysisByTree(f.itemTree).code)
            .s("CDPRODUTO", p.code)
            .s("NMPRODUTO", p.name)
            .s("SGUNIDADE", p.unit)
            .s("NRLOTEESTQ", f.lot)
            .s("NRSUBLOTE", f.subLot)
            .s("DSOBSERVACAO", *f.note ? std::optional<std::string>(f.note) : std::nullopt)
            .d("DTFABRPROD", made)
            .d("QTRETIRADA", f.quantity)
            .s("CDOPERADOR", "ANALISTA")
            .s("NRORDPROD", order.empty() ? std::nullopt : std::optional<std::string>(order))
            .d("DTRETIRADA", f.posted ? std::optional<double>(withdrawn) : std::nullopt)
            .d("DTCONCLUSAO", f.closed ? std::optional<double>(withdrawn + 1) : std::nullopt)
            .s("IDCHECK", f.ticked || f.posted ? "S" : "N")
            .s("IDSITAMOSTRA", f.sample)
            .d("DTINCLUSAO", included + 1.5 / 24)
            .s("CDARVPROD", p.tree)
            .s("CDALMOXINSPR", store)
            .s("CDLOCALINSPR", location)
            .s("PRODANALISE", analysed)
            .s("NRTPCUSTOOP", "01")
            .d("CUSTOUNIT", p.unitCost)
            .s("NRLANCTOESTQ", posting)
            .d("VRCUSTOAMOSTRA", cost)
            .d("DTVALILOTE", validity)
            .insert();
    }

    seq = 0;
    for (const auto& r : kResources) {
        const std::string request = padded(r.request, 10);
        double included = 0;
        std::string order;
        soci::indicator orderSet = soci::i_null;
        db << "SELECT DTINCLAUDIT, NRORDPROD FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
            soci::into(included), soci::into(order, orderSet), soci::use(branch), soci::use(request);
        if (orderSet != soci::i_ok) order.clear();
        const double start = std::floor(included) + (r.startHour * 60 + r.startMinute) / 1440.0 + 1;
        const bool running = r.hours == 0;
        // Cost from whole minutes, as the screen computes it.
        const double minutes = std::round(r.hours * 60);
        const std::optional<double> cost = running ? std::nullopt : std::optional<double>(r.hourCost * minutes / 60);
        const bool skill = r.type == 'H';
        const std::optional<std::string> none;
        Row(db, "RECURSOANA")
            .s("CDFILIAL", branch)
            .i("NRSEQRECURANA", ++seq)
            .s("NRAUDITORIA", request)
            .s("CDINSPECAO", analysisByTree(r.itemTree).code)
            .s("CDOPERADOR", skill ? std::optional<std::string>(r.op) : none)
            .s("NRORDPROD", order.empty() ? none : std::optional<std::string>(order))
            .d("DTINIRECUR", start)
            .d("DTFIMRECUR", running ? std::nullopt : std::optional<double>(start + minutes / 1440.0))
            .s("CDEQUIPPRO", skill ? none : std::optional<std::string>(r.code))
            .s("CDHABILIDADE", skill ? std::optional<std::string>(r.code) : none)
            .s("IDTPRECURSO", std::string(1, r.type))
            .s("NMRECURSO", r.name)
            .s("NMOPERADOR", skill ? std::optional<std::string>(operatorByCode(r.op).name) : none)
            .d("CUSTOTOTAL", cost)
            .d("VRCUSHRHABIL", skill ? std::optional<double>(r.hourCost) : std::nullopt)
            .d("VRCUSTOEQUIP", skill ? std::nullopt : std::optional<double>(r.hourCost))
            .d("VRCUSTORECURSO", cost.value_or(0.0))
            .s("RECURSO", r.code)
            .s("NMHABILIDADE", skill ? std::optional<std::string>(r.name) : none)
            .s("NMEQUIPPRO", skill ? none : std::optional<std::string>(r.name))
            .insert();
    }

    // Descriptions of the analysed product for some items.
    struct Description {
        int request;
        const char* itemTree;
        const char* text;
    };
    const Description descriptions[] = {
        {21, "0102005", "Amostra coletada na saída do pasteurizador, temperatura de 4 °C."},
        {22, "0102004", "Cor amarelo-alaranjada intensa, sem separação de fases."},
        {3, "0102001", "Amostra composta de três tambores do lote, homogeneizada antes da leitura."},
    };
    for (const auto& d : descriptions) {
        std::string product, process;
        const std::string request = padded(d.request, 10);
        db << "SELECT CDPRODUTO, IDTPAUDITADO FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
            soci::into(product), soci::into(process), soci::use(branch), soci::use(request);
        Row(db, "DSINSPPROD")
            .s("CDFILIAL", branch)
            .s("NRAUDITORIA", request)
            .s("CDINSPECAO", analysisByTree(d.itemTree).code)
            .s("CDPRODUTO", product)
            .s("IDTPAUDITADO", process)
            .s("DSINSPROD", d.text)
            .insert();
    }

    // The justification trail: a concluded request changed by its supervisor, an
    // inspection added by microbiology, and the deletion of request 9 (the number
    // missing from the list).
    db << "UPDATE AUDITORIA SET CDJUSTALTERA = '00001' WHERE CDFILIAL = '0001' AND NRAUDITORIA = '0000000004'";
    struct Trail {
        const char* request;
        const char* code;
        const char* op;
        const char* authorizer;
        const char* permission;
        const char* origin;
        int daysAgo;
    };
    const Trail trail[] = {
        {"0000000004", "00001", "SUPERVISOR", "", "ALTC", "J", 50},
        {"0000000004", "00001", "SUPERVISOR", "", "ALTC", "A", 50},
        {"0000000006", "00006", "MARIA", "", "IEIA", "A", 8},
        {"0000000009", "00004", "ANALISTA", "DEMO", "EXCA", "J", 11},
        {"0000000009", "00004", "ANALISTA", "DEMO", "EXCA", "A", 11},
    };
    seq = 0;
    for (const auto& t : trail) {
        Row(db, "JUSTIFICAANA")
            .s("CDFILIAL", branch)
            .i("NRSEQJUSTANA", ++seq)
            .s("NRAUDITORIA", t.request)
            .s("CDJUSTIFICATIVA", t.code)
            .s("CDOPERADOR", t.op)
            .s("CDOPERAUTORIZ", *t.authorizer ? std::optional<std::string>(t.authorizer) : std::nullopt)
            .s("IDAUTGRUPOP", t.permission)
            .d("DTJUSTIFICA", dayAt(-t.daysAgo, 14, 20))
            .s("IDORIGJUST", t.origin)
            .insert();
    }

    // Saved filter options of the request filter.
    struct Saved {
        const char* op;
        const char* name;
        const char* criteria;
        std::vector<std::pair<const char*, const char*>> values;
    };
    const Saved saved[] = {
        {"DEMO",
         "Pendentes da Matriz",
         "Situação: Pendente, Em Andamento; Setor: todos; OP: todas",
         {{"chbPendente", "S"}, {"chbAndamento", "S"}, {"rbtTodosSetor", "S"}, {"rbtTOP", "S"}, {"stSetor", ""},
          {"stOP", ""}}},
        {"ANALISTA",
         "Microbiologia",
         "Situação: Em Andamento; Setor: 0005",
         {{"chbAndamento", "S"}, {"rbtListaSetor", "S"}, {"stSetor", "0005"}, {"stOP", ""}}},
    };
    for (const auto& s : saved) {
        Row(db, "FILTROSALVO")
            .s("CDTELA", "MXA07301")
            .s("CDOPERADOR", s.op)
            .s("DSOPCSALVA", s.name)
            .s("TXCRITERIO", s.criteria)
            .d("DTGRAVACAO", dayAt(-3, 10, 0))
            .insert();
        for (const auto& [component, value] : s.values) {
            const bool variable = component[0] == 's' && component[1] == 't';
            Row(db, "FILTROSALVOVALOR")
                .s("CDTELA", "MXA07301")
                .s("CDOPERADOR", s.op)
                .s("DSOPCSALVA", s.name)
                .s("NMCOMPONENTE", component)
                .s("STVARIAVEL", variable ? "S" : "N")
                .s("DSVALOR", value)
                .insert();
        }
    }
}

}  // namespace appserver::demo
