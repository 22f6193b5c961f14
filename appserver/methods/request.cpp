// The request header: numbering, the request list with its filter, the lookups of
// the filter, the partial items of a request, and the filter options an operator saves.
#include <optional>
#include <string>
#include <vector>

#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/record_query.h"
#include "appserver/sql.h"
#include "core/error.h"
#include "records/request_criteria.h"
#include "records/request_record.h"

namespace appserver {

namespace {

using core::FieldType;

core::Variant GetPrxAuditoria(Call& c) {
    c.expect({Arg::Text});
    return nextRequestNumber(c.db(), c.dialect(), c.text(0));
}

// --- the request list ---

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

// The call's criteria read by name, in the positions the declaration gives them.
class RequestCriteria {
public:
    explicit RequestCriteria(Call& c) : c_(c), d_(records::requestCriteria()) {
        std::vector<Arg> kinds;
        for (const auto& k : d_.all()) kinds.push_back(k.kind == records::CriterionKind::Date ? Arg::Any : Arg::Text);
        c_.expect(kinds);
    }
    std::string text(const std::string& name) const { return c_.text(d_.index(name)); }
    core::DateTime date(const std::string& name) const { return c_.dateTime(d_.index(name)); }
    // A value's "all" marker, or a code list that is "T" itself.
    bool all(const std::string& marker) const { return text(marker) == "T"; }

private:
    Call& c_;
    const records::Criteria& d_;
};

// Whether the inclusion period [from, to) holds nearly all of the branch's requests
// (four in five or more). SQLite would still read them through the date index and
// then sort every row, with all its columns, before the first goes out; read in the
// key's order instead they need no sort and stream at once. Two counts on the
// indexes decide it, each bounded by the period's own size.
// Adds the inclusion period [from, to) on `column`, each bound given.
void addPeriod(std::string& where, Params& params, const std::string& column, std::optional<double> from,
               std::optional<double> to) {
    if (from) {
        where += " AND " + column + " >= :di";
        params.add(*from);
    }
    if (to) {
        where += " AND " + column + " < :df";
        params.add(*to);
    }
}

bool periodHoldsNearlyAll(soci::session& db, const std::string& branch, std::optional<double> from,
                          std::optional<double> to) {
    std::string where = "CDFILIAL = :f";
    Params period{branch};
    addPeriod(where, period, "DTINCLAUDIT", from, to);
    const int64_t inPeriod =
        queryValue(db, "SELECT COUNT(*) FROM AUDITORIA WHERE " + where, std::move(period), FieldType::Integer)
            .asInteger();
    if (inPeriod == 0) return false;
    const int64_t enough = inPeriod + inPeriod / 4 + 1;  // more than this many in the branch: not nearly all
    const int64_t inBranch =
        queryValue(db, "SELECT COUNT(*) FROM (SELECT 1 FROM AUDITORIA WHERE CDFILIAL = :f LIMIT :n)", {branch, enough},
                   FieldType::Integer)
            .asInteger();
    return inBranch < enough;
}

// The request list of a branch by the filter's eighteen criteria. Each pair is a
// value and its "all" marker ("T": not restricted). Every value is bound; the
// branch with situation and inclusion date, lot, sector or order meet the table's
// indexes, the product range the products' tree-code index.
core::Variant GetAuditoria(Call& c) {
    const RequestCriteria k(c);
    const auto& record = records::requestRecord();
    auto column = [&](const char* name) { return record.readExpression(name); };
    Params params;
    std::string where = column("CDFILIAL") + " = :f";
    params.add(k.text("CDFILIAL"));

    if (!k.all("stTNRORDPROD")) {
        const auto orders = chosenList(k.text("stNRORDPROD"));
        if (orders.empty()) throw core::Error("Ordem de produção deve ser informado.");
        addIn(where, params, column("NRORDPROD"), orders);
    }
    if (!k.all("stTIDTPAUDITADO")) {
        const auto processes = codeList(k.text("stIDTPAUDITADO"));
        if (!processes.empty()) addIn(where, params, column("IDTPAUDITADO"), processes);
    }
    if (!k.all("stTCDSETEXECAUD")) {
        const auto sectors = chosenList(k.text("stCDSETEXECAUD"));
        if (sectors.empty()) throw core::Error("Setor deve ser informado.");
        addIn(where, params, column("CDSETEXECAUD"), sectors);
    }
    if (!k.all("stIDSTATUSAUDI")) {
        const auto situations = codeList(k.text("stIDSTATUSAUDI"));
        if (!situations.empty()) addIn(where, params, column("IDSTATUSAUDI"), situations);
    }
    if (!k.all("stTDPRODUTO")) {
        // The product's tree code, read from the product itself.
        where += " AND " + column("CDARVPROD") + " >= :pi AND " + column("CDARVPROD") + " <= :pf";
        params.add(k.text("stINICIO"));
        params.add(k.text("stFIM"));
    }
    // Whole days: a request made during the last day of the period belongs to it.
    const auto from = k.date("dtDTINI"), to = k.date("dtDTFIM");
    std::optional<double> fromDay, toDay;
    if (from.days > 0) fromDay = from.datePart().days;
    if (to.days > 0) toDay = to.datePart().days + 1;
    // A unary plus keeps SQLite off the date index for a period that is nearly the whole
    // branch (see periodHoldsNearlyAll); PostgreSQL plans by its own statistics.
    const bool byKey = (fromDay || toDay) && c.dialect().backend() == Backend::SQLite &&
                       periodHoldsNearlyAll(c.db(), k.text("CDFILIAL"), fromDay, toDay);
    addPeriod(where, params, (byKey ? "+" : "") + column("DTINCLAUDIT"), fromDay, toDay);
    if (!k.all("stTDLOTE")) {
        where += " AND " + column("NRLOTEESTQ") + " = :l";
        params.add(k.text("stNRLOTEESTQ"));
    }
    if (!k.all("stTDSUBLOTE")) {
        where += " AND " + column("NRSUBLOTE") + " = :sl";
        params.add(k.text("stNRSUBLOTE"));
    }
    if (!k.all("stTipoAna")) {
        const auto kinds = codeList(k.text("stTipoAna"));
        if (!kinds.empty()) addIn(where, params, record.alias() + ".IDTIPOANA", kinds);
    }
    return answerRecord(c.db(), record, where, column("CDFILIAL") + ", " + column("NRAUDITORIA"), std::move(params));
}

// Production orders of a branch for the filter's order list.
core::Variant GetOP(Call& c) {
    c.expect({Arg::Text});
    return answerPacket(c.db(),
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
    return answerPacket(c.db(), {field("NRLOTEESTQ", FieldType::String, 20), field("NRSUBLOTE", FieldType::String, 4)},
                        sql + " ORDER BY NRLOTEESTQ, NRSUBLOTE", std::move(params));
}

// Items of a request marked for partial approval.
core::Variant GetQtItensParciais(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("QTINSPEC", FieldType::Float)},
                        "SELECT COUNT(*) FROM ITEMINSAUDIT WHERE CDFILIAL = :f AND NRAUDITORIA = :n "
                        "AND IDPARCIAL = 'S'",
                        {c.text(0), c.text(1)});
}

// --- filter options saved per screen and operator (the host's filter form) ---

// Names of the options an operator saved on a screen.
core::Variant ListaOpcFiltro(Call& c) {
    c.expect({Arg::Text, Arg::Text});
    return answerPacket(c.db(),
                        {field("DSOPCSALVA", FieldType::String, 40), field("TXCRITERIO", FieldType::String),
                         field("DTGRAVACAO", FieldType::DateTime)},
                        "SELECT DSOPCSALVA, TXCRITERIO, DTGRAVACAO FROM FILTROSALVO "
                        "WHERE CDTELA = :t AND CDOPERADOR = :o ORDER BY DSOPCSALVA",
                        {c.text(0), c.sessionOperator(1)});
}

// The values of one saved option: components and variables with their texts.
core::Variant CarregaOpcFiltro(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(c.db(),
                        {field("NMCOMPONENTE", FieldType::String, 60), field("STVARIAVEL", FieldType::String, 1),
                         field("DSVALOR", FieldType::String)},
                        "SELECT NMCOMPONENTE, STVARIAVEL, DSVALOR FROM FILTROSALVOVALOR "
                        "WHERE CDTELA = :t AND CDOPERADOR = :o AND DSOPCSALVA = :n ORDER BY NMCOMPONENTE",
                        {c.text(0), c.sessionOperator(1), c.text(2)});
}

// Saves (or replaces) an option: screen, operator, name, summary text, and a packet
// of NMCOMPONENTE / STVARIAVEL / DSVALOR rows.
core::Variant GravaOpcFiltro(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Packet});
    const std::string screen = c.text(0), op = c.sessionOperator(1), name = c.text(2);
    if (blank(name))
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
    t.addStreamed(kModule, "GetAuditoria", GetAuditoria);
    t.add(kModule, "GetOP", GetOP, true);
    t.add(kModule, "GetLoteSublote", GetLoteSublote, true);
    t.add(kModule, "GetQtItensParciais", GetQtItensParciais, true);
    // Saved filter options belong to the host's filter form, shared by its screens.
    t.add(kHostModule, "ListaOpcFiltro", ListaOpcFiltro, true);
    t.add(kHostModule, "CarregaOpcFiltro", CarregaOpcFiltro, true);
    t.add(kHostModule, "GravaOpcFiltro", GravaOpcFiltro);
}

}  // namespace appserver
