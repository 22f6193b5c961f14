// The request header: numbering, the request list with its filter, the lookups of
// the filter, the partial items of a request, and the filter options an operator saves.
#include <string>
#include <vector>

#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

using core::FieldType;

core::Variant GetPrxAuditoria(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    const auto highest = [&] {
        return c.dialect().highestNumber(c.db(), "AUDITORIA", "NRAUDITORIA", {{"CDFILIAL", branch}});
    };
    return zeroPadded(nextNumber(c.db(), branch, "AUDITORIA", highest), 10);
}

// --- the request list ---

// The request record as the screen declares it (calculated fields excepted).
const std::vector<core::FieldDef>& requestFields() {
    static const std::vector<core::FieldDef> f = {
        field("IDSTATUSAUDI", FieldType::String, 1),
        field("DTINCLAUDIT", FieldType::DateTime),
        field("DTFINPREVAUD", FieldType::DateTime),
        field("DTFINREALAUD", FieldType::DateTime),
        field("NRLOTEESTQ", FieldType::String, 20),
        field("NRSUBLOTE", FieldType::String, 4),
        field("DATA", FieldType::DateTime),
        field("HORA", FieldType::DateTime),
        field("DATAPREVFIM", FieldType::DateTime),
        field("HORAPREVFIM", FieldType::DateTime),
        field("CDPRODUTO", FieldType::String, 10),
        field("NRORDPROD", FieldType::String, 10),
        field("NRSUBORDPROD", FieldType::String, 1),
        field("CDEQUIPPRO", FieldType::String, 10),
        field("OPSUBOP", FieldType::String, 12),
        field("VRAPRPRODAUD", FieldType::Float),
        field("CDOPEINCAUDI", FieldType::String, 12),
        field("DSREFEAUDIT", FieldType::String, 60),
        field("NMEQUIPPRO", FieldType::String, 40),
        field("CDFILIAL", FieldType::String, 4, true),
        field("NRAUDITORIA", FieldType::String, 10, true),
        field("CDSETEXECAUD", FieldType::String, 4),
        field("IDORIGAUDIT", FieldType::String, 3),
        field("CDFORNECED", FieldType::String, 21),
        field("NMOPERADOR", FieldType::String, 40),
        field("NMPRODUTO", FieldType::String, 50),
        field("CDARVPROD", FieldType::String, 20),
        field("SGUNIDADE", FieldType::String, 10),
        field("NMSETOR", FieldType::String, 30),
        field("NMFANTFORN", FieldType::String, 40),
        field("IDTPAUDITADO", FieldType::String, 1),
        field("QTHRAUDIT", FieldType::Float),
        field("IDLIBERAUDIT", FieldType::String, 1),
        field("IDSITORDPROD", FieldType::String, 1),
        field("CDETAPAPROD", FieldType::String, 10),
        field("CDPRODANTE", FieldType::String, 10),
        field("NRLOTEFORN", FieldType::String, 20),
        field("CDARVPRODANTE", FieldType::String, 20),
        field("NMPRODANTE", FieldType::String, 50),
        field("DTVALILOTE", FieldType::DateTime),
        field("DTFABRPROD", FieldType::DateTime),
        field("DTAMOSAUDI", FieldType::DateTime),
        field("QTAMOSAUDI", FieldType::Float),
        field("NRLANCTONF", FieldType::String, 10),
        field("NRINSJURFORN", FieldType::String, 20),
        field("IDTPIJURFORN", FieldType::String, 1),
        field("CDJUSTALTERA", FieldType::String, 5),
        field("DSJUSTIFICATIVA", FieldType::String, 100),
        field("DTVALANA", FieldType::String, 10),
        field("CDMARCAPROD", FieldType::String, 5),
        field("NMMARCA", FieldType::String, 20),
        field("TIPOANA", FieldType::String, 15),
        field("IDTEOROBRIG", FieldType::String, 1),
        field("IDCOMPATIBILIDADE", FieldType::String, 1),
        field("QTESTQAPROVA", FieldType::Float),
        field("QTESTQREPROVA", FieldType::Float),
        field("NRSUBLOTEPARC", FieldType::String, 4),
    };
    return f;
}

std::string requestColumns() {
    std::string cols;
    for (const auto& f : requestFields()) {
        if (!cols.empty()) cols += ", ";
        // Requests saved before the kind's text was kept show the text of their kind.
        if (f.name == "TIPOANA")
            cols +=
                "COALESCE(A.TIPOANA, CASE A.IDTIPOANA WHEN 'R' THEN 'Reanálise' WHEN 'C' THEN "
                "'Compatibilidade' ELSE 'Análise' END)";
        else
            cols += "A." + f.name;
    }
    return cols;
}

// "_1_2" -> {"1", "2"}: the filter's code lists.
std::vector<std::string> codeList(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    for (char ch : s) {
        if (ch == '_') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else if (ch != ' ') {
            cur += ch;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// The lists the multi-choice lookups build: codes separated by commas (semicolons,
// quotes and blanks around a code are tolerated).
std::vector<std::string> chosenList(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    auto flush = [&] {
        const size_t b = cur.find_first_not_of(" '\"");
        if (b != std::string::npos) out.push_back(cur.substr(b, cur.find_last_not_of(" '\"") - b + 1));
        cur.clear();
    };
    for (char ch : s) {
        if (ch == ',' || ch == ';')
            flush();
        else
            cur += ch;
    }
    flush();
    return out;
}

bool all(const std::string& marker) {
    return marker == "T";
}

// Adds "AND column IN (:p1, ...)" with every value bound.
void addIn(std::string& where, Params& params, const std::string& column,
           const std::vector<std::string>& values) {
    where += " AND " + column + " IN (";
    for (size_t i = 0; i < values.size(); ++i) {
        where += (i ? ", :" : ":") + std::string("v") + std::to_string(params.size());
        params.add(values[i]);
    }
    where += ")";
}

// The request list of a branch by the filter's eighteen criteria. Each pair is a
// value and its "all" marker ("T": not restricted). Every value is bound; the
// branch with situation and inclusion date, product, lot, sector or order meet the
// table's indexes.
core::Variant GetAuditoria(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text,
              Arg::Text, Arg::Text, Arg::Any, Arg::Any, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text,
              Arg::Text});
    Params params;
    std::string where = "A.CDFILIAL = :f";
    params.add(c.text(16));

    if (!all(c.text(1))) {
        const auto orders = chosenList(c.text(0));
        if (orders.empty()) throw core::Error("Ordem de produção deve ser informado.");
        addIn(where, params, "A.NRORDPROD", orders);
    }
    if (!all(c.text(3))) {
        const auto processes = codeList(c.text(2));
        if (!processes.empty()) addIn(where, params, "A.IDTPAUDITADO", processes);
    }
    if (!all(c.text(5))) {
        const auto sectors = chosenList(c.text(4));
        if (sectors.empty()) throw core::Error("Setor deve ser informado.");
        addIn(where, params, "A.CDSETEXECAUD", sectors);
    }
    if (!all(c.text(6))) {
        const auto situations = codeList(c.text(6));
        if (!situations.empty()) addIn(where, params, "A.IDSTATUSAUDI", situations);
    }
    if (!all(c.text(9))) {
        where += " AND A.CDARVPROD >= :pi AND A.CDARVPROD <= :pf";
        params.add(c.text(7));
        params.add(c.text(8));
    }
    // Whole days: a request made during the last day of the period belongs to it.
    const auto from = c.dateTime(10), to = c.dateTime(11);
    if (from.days > 0) {
        where += " AND A.DTINCLAUDIT >= :di";
        params.add(from.datePart().days);
    }
    if (to.days > 0) {
        where += " AND A.DTINCLAUDIT < :df";
        params.add(to.datePart().days + 1);
    }
    if (!all(c.text(13))) {
        where += " AND A.NRLOTEESTQ = :l";
        params.add(c.text(12));
    }
    if (!all(c.text(15))) {
        where += " AND A.NRSUBLOTE = :sl";
        params.add(c.text(14));
    }
    if (!all(c.text(17))) {
        const auto kinds = codeList(c.text(17));
        if (!kinds.empty()) addIn(where, params, "A.IDTIPOANA", kinds);
    }
    return queryPacket(c.db(), requestFields(),
                       "SELECT " + requestColumns() + " FROM AUDITORIA A WHERE " + where +
                           " ORDER BY A.CDFILIAL, A.NRAUDITORIA",
                       std::move(params));
}

// Production orders of a branch for the filter's order list.
core::Variant GetOP(Call& c) {
    c.expect({Arg::Text});
    return queryPacket(c.db(),
                       {field("IDMARCADO", FieldType::String, 1), field("NRORDPROD", FieldType::String, 12),
                        field("NMPRODUTO", FieldType::String, 50)},
                       "SELECT 'N', O.NRORDPROD, MIN(P.NMPRODUTO) FROM ORDEMPROD O "
                       "LEFT JOIN PRODUTO P ON P.CDPRODUTO = O.CDPRODUTO "
                       "WHERE O.CDFILIAL = :f GROUP BY O.NRORDPROD ORDER BY O.NRORDPROD",
                       {c.text(0)});
}

// Lots and sub-lots of a branch: all of them for the lookup, or those of a lot, or
// one lot and sub-lot, to check what the user typed (no row: not found).
core::Variant GetLoteSublote(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text}, 2);
    Params params{c.text(0)};
    std::string sql = "SELECT DISTINCT NRLOTEESTQ, NRSUBLOTE FROM LOTE WHERE CDFILIAL = :f";
    if (!c.text(1).empty()) {
        sql += " AND NRLOTEESTQ = :l";
        params.add(c.text(1));
    }
    if (!c.text(2).empty()) {
        sql += " AND NRSUBLOTE = :s";
        params.add(c.text(2));
    }
    return queryPacket(c.db(),
                       {field("NRLOTEESTQ", FieldType::String, 20), field("NRSUBLOTE", FieldType::String, 4)},
                       sql + " ORDER BY NRLOTEESTQ, NRSUBLOTE", std::move(params));
}

// Items of a request marked for partial approval.
core::Variant GetQtItensParciais(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return queryPacket(c.db(), {field("QTINSPEC", FieldType::Float)},
                       "SELECT COUNT(*) FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n "
                       "AND IDPARCIAL = 'S'",
                       {c.text(0), c.text(1)});
}

// --- filter options saved per screen and operator (the host's filter form) ---

// Names of the options an operator saved on a screen.
core::Variant ListaOpcFiltro(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return queryPacket(c.db(),
                       {field("DSOPCSALVA", FieldType::String, 40), field("TXCRITERIO", FieldType::String),
                        field("DTGRAVACAO", FieldType::DateTime)},
                       "SELECT DSOPCSALVA, TXCRITERIO, DTGRAVACAO FROM FILTROSALVO "
                       "WHERE CDTELA = :t AND CDOPERADOR = :o ORDER BY DSOPCSALVA",
                       {c.text(0), c.text(1)});
}

// The values of one saved option: components and variables with their texts.
core::Variant CarregaOpcFiltro(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return queryPacket(c.db(),
                       {field("NMCOMPONENTE", FieldType::String, 60),
                        field("STVARIAVEL", FieldType::String, 1), field("DSVALOR", FieldType::String)},
                       "SELECT NMCOMPONENTE, STVARIAVEL, DSVALOR FROM FILTROSALVOVALOR "
                       "WHERE CDTELA = :t AND CDOPERADOR = :o AND DSOPCSALVA = :n ORDER BY NMCOMPONENTE",
                       {c.text(0), c.text(1), c.text(2)});
}

// Saves (or replaces) an option: screen, operator, name, summary text, and a packet
// of NMCOMPONENTE / STVARIAVEL / DSVALOR rows.
core::Variant GravaOpcFiltro(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Packet});
    const std::string screen = c.text(0), op = c.text(1), name = c.text(2);
    if (name.find_first_not_of(' ') == std::string::npos)
        throw core::Error("Nome da opção deve ser informado.");
    const auto& values = c.packet(4);
    const int comp = values.fieldIndex("NMCOMPONENTE"), var = values.fieldIndex("STVARIAVEL"),
              val = values.fieldIndex("DSVALOR");
    if (comp < 0 || var < 0 || val < 0) throw core::Error("Valores da opção de filtro inválidos.");
    execute(c.db(), "DELETE FROM FILTROSALVOVALOR WHERE CDTELA = :t AND CDOPERADOR = :o AND DSOPCSALVA = :n",
            {screen, op, name});
    execute(c.db(), "DELETE FROM FILTROSALVO WHERE CDTELA = :t AND CDOPERADOR = :o AND DSOPCSALVA = :n",
            {screen, op, name});
    execute(c.db(),
            "INSERT INTO FILTROSALVO (CDTELA, CDOPERADOR, DSOPCSALVA, TXCRITERIO, DTGRAVACAO) "
            "VALUES (:t, :o, :n, :c, :d)",
            {screen, op, name, c.text(3), core::DateTime::now().days});
    for (const auto& row : values.rows)
        execute(c.db(),
                "INSERT INTO FILTROSALVOVALOR (CDTELA, CDOPERADOR, DSOPCSALVA, NMCOMPONENTE, STVARIAVEL, "
                "DSVALOR) "
                "VALUES (:t, :o, :n, :m, :v, :x)",
                {screen, op, name, row[comp].asString(), row[var].asString() == "S" ? "S" : "N", row[val]});
    return true;
}

}  // namespace

void registerRequestMethods(MethodTable& t) {
    t.add(kModule, "GetPrxAuditoria", GetPrxAuditoria);
    t.add(kModule, "GetAuditoria", GetAuditoria, true);
    t.add(kModule, "GetOP", GetOP, true);
    t.add(kModule, "GetLoteSublote", GetLoteSublote, true);
    t.add(kModule, "GetQtItensParciais", GetQtItensParciais, true);
    // Saved filter options belong to the host's filter form, shared by its screens.
    t.add(kHostModule, "ListaOpcFiltro", ListaOpcFiltro, true);
    t.add(kHostModule, "CarregaOpcFiltro", CarregaOpcFiltro, true);
    t.add(kHostModule, "GravaOpcFiltro", GravaOpcFiltro);
}

}  // namespace appserver
