// Conclusion and release of an analysis, the product's description, the formula's
// and resources' numbering.
#include "appserver/methods/methods.h"
#include "appserver/methods/permissions.h"
#include "appserver/methods/request_checks.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

namespace {

using core::FieldType;

// A production order's sub-order as stored: blank or missing is none.
constexpr const char* kSubOrder = "COALESCE(TRIM(NRSUBORDPROD), '') = :s";

// A row only while an analysis of the production order is still pending or running:
// the order's lots wait for all of them.
core::Variant GetAudPenOp(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(c.db(), {field("TOTAL", FieldType::Float)},
                        std::string("SELECT COUNT(*) FROM AUDITORIA WHERE CDFILIAL = :f AND NRORDPROD = :o AND ") +
                            kSubOrder + " AND IDSTATUSAUDI IN ('1', '2') HAVING COUNT(*) > 0",
                        {c.text(0), trimmed(c.text(1)), trimmed(c.text(2))});
}

// The production order, empty when it does not exist.
core::Variant GetOrdProd(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    return answerPacket(
        c.db(), {field("NRORDPROD", FieldType::String, 10)},
        std::string("SELECT NRORDPROD FROM ORDEMPROD WHERE CDFILIAL = :f AND NRORDPROD = :o AND ") + kSubOrder,
        {c.text(0), trimmed(c.text(1)), trimmed(c.text(2))});
}

// The stock products made from an analysed product, with their analysis validity.
core::Variant GetProdEsto(Call& c) {
    c.expect({Arg::Text});
    return answerPacket(c.db(),
                        {field("CDARVPROD", FieldType::String, 20), field("CDPRODUTO", FieldType::String, 10, true),
                         field("NMPRODUTO", FieldType::String, 50), field("VRFATOCONVPR", FieldType::Float),
                         field("SGUNIDADE", FieldType::String, 10), field("NRDIASVALANA", FieldType::Float)},
                        "SELECT P.CDARVPROD, P.CDPRODUTO, P.NMPRODUTO, E.VRFATOCONVPR, P.SGUNIDADE, P.NRDIASVALANA "
                        "FROM PRODESTOQUE E JOIN PRODUTO P ON P.CDPRODUTO = E.CDPRODESTO "
                        "WHERE E.CDPRODUTO = :p ORDER BY P.CDARVPROD",
                        {c.text(0)});
}

// Records who released the analysis and when. The operator must hold the release
// permission: the dialog that asked for the password is not the last line.
core::Variant SetOperLibAud(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text});
    const std::string op = c.text(0), branch = c.text(1), request = c.text(2);
    checkRequestOpen(c.db(), branch, request);
    if (!holdsPermission(c.db(), op, "CANA"))
        throw core::Error("Operador " + op + " não tem permissão para liberar a análise.");
    execute(c.db(), "UPDATE AUDITORIA SET CDOPELIBAUDI = :o, DTLIBAUDIT = :d WHERE CDFILIAL = :f AND NRAUDITORIA = :n",
            {op, core::DateTime::now().days, branch, request});
    c.setOut(0, c.arg(0));
    return {};
}

// The description of the analysed product for one analysis of the request: "I"
// stores it (replacing the one there), "D" deletes it.
core::Variant SetDsProd(Call& c) {
    c.expect({Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text, Arg::Text});
    const std::string branch = c.text(0), request = c.text(1), analysis = c.text(3), op = c.text(5);
    if (op != "I" && op != "D") throw core::Error("Operação inválida para a descrição do produto: " + op + ".");
    checkRequestOpen(c.db(), branch, request);
    const auto status = queryValue(
        c.db(), "SELECT IDSTATUSAUDI FROM AUDITORIA WHERE CDFILIAL = :f AND NRAUDITORIA = :n", {branch, request});
    if (status.asString() != "1" && status.asString() != "2")
        throw core::Error("A descrição do produto só pode ser alterada em análise pendente ou em andamento.");
    execute(c.db(), "DELETE FROM DSINSPPROD WHERE CDFILIAL = :f AND NRAUDITORIA = :n AND CDINSPECAO = :i",
            {branch, request, analysis});
    if (op == "I")
        execute(c.db(),
                "INSERT INTO DSINSPPROD (CDFILIAL, NRAUDITORIA, CDINSPECAO, CDPRODUTO, IDTPAUDITADO, DSINSPROD) "
                "VALUES (:f, :n, :i, :p, :t, :d)",
                {branch, request, analysis, c.text(2), c.text(4), c.text(6)});
    c.setOut(5, c.arg(5));
    return {};
}

// Row numbers of the formula and of the resources, per branch.
core::Variant prxFormulaAna(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return static_cast<double>(nextNumber(c.db(), branch, "FORMULAANA", [&] {
        return c.dialect().highestNumber(c.db(), "FORMULAANA", "NRSEQFORMULA", {{"CDFILIAL", branch}});
    }));
}

core::Variant prxRecursoAna(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return static_cast<double>(nextNumber(c.db(), branch, "RECURSOANA", [&] {
        return c.dialect().highestNumber(c.db(), "RECURSOANA", "NRSEQRECURANA", {{"CDFILIAL", branch}});
    }));
}

}  // namespace

void registerConclusionMethods(MethodTable& t) {
    t.add(kModule, "GetAudPenOp", GetAudPenOp, true);
    t.add(kModule, "GetOrdProd", GetOrdProd, true);
    t.add(kModule, "GetProdEsto", GetProdEsto, true);
    t.add(kModule, "SetOperLibAud", SetOperLibAud);
    t.add(kModule, "SetDsProd", SetDsProd);
    t.add(kModule, "prxFormulaAna", prxFormulaAna);
    t.add(kModule, "prxRecursoAna", prxRecursoAna);
}

}  // namespace appserver
