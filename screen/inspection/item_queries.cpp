// The items' direct queries: the last-level analyses under an inspection, the
// response catalogue (by product, process and version, or general), the normal
// ranges and the operators, each in the four dialects' texts.
#include <string>

#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/inspection/item.h"

namespace screen {

using namespace building;

namespace {

// One statement whose only dialect differences are NVL and concatenation.
struct Dialects {
    std::string standard, oracle, mssql;
};

void setTexts(platform::TADOIBQuery& q, const Dialects& d) {
    q.SQL = q.SQL_IB = d.standard;
    q.SQL_ORACLE = d.oracle;
    q.SQL_MSSQL = d.mssql;
}

// The catalogue's rows of a product for a process and version ("x": none).
Dialects productRows(const std::string& columns, const std::string& more, const std::string& orderBy) {
    const auto text = [&](const char* nvl) {
        return "SELECT " + columns +
               " FROM RESPOSINSPEC WHERE (CDINSPECAO = :P_CDINSPECAO) AND (CDPRODUTO = :P_CDPRODUTO) AND "
               "(IDRESPPROC = :P_IDRESPPROC)" +
               more + " AND ((" + nvl + "(CDVERSAO, 'x') = :P_CDVERSAO))" + orderBy;
    };
    return {text("COALESCE"), text("NVL"), text("ISNULL")};
}

Dialects same(const std::string& text) { return {text, text, text}; }

const char* const kResponse = "CDRESPINSPEC, NMRESPINSPEC, VRPONTRESINS";
const char* const kRange = "CDRESPINSPEC, NMRESPINSPEC, VRPONTRESINS, IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES";
const char* const kGeneral = " FROM RESPOSINSPEC WHERE (CDINSPECAO = :P_CDINSPECAO) AND (CDPRODUTO IS NULL)";

}  // namespace

void declareItemQueries(TfrmPedidoAna& s) {
    declare(s.qryInspUltNv, {{"CDINSPECAO", S, 10, "", false},
                             {"NMINSPECAO", S, 200, "Nome", true},
                             {"CDARVINSPEC", S, 10, "Código", true},
                             {"SGUNIDADE", S, 10, "", false}});
    const auto ultNv = [](const char* concat) {
        return std::string(
                   "SELECT CDINSPECAO, NMINSPECAO, CDARVINSPEC, SGUNIDADE FROM INSPECAO WHERE "
                   "(CDNVINSPECAO = :P_CDNVINSPECAO) AND (CDARVINSPEC LIKE :P_CDARVINSPEC ") +
               concat + " '%') AND (IDORIGINSPEC = 'ANA') AND (IDSITINSPEC = 'A') ORDER BY CDARVINSPEC";
    };
    setTexts(s.qryInspUltNv, {ultNv("||"), ultNv("||"), ultNv("+")});

    const std::initializer_list<FieldSpec> listed = {{"CDRESPINSPEC", S, 5, "Código", true},
                                                     {"NMRESPINSPEC", S, 50, "Nome", true},
                                                     {"VRPONTRESINS", N, 0, "Pontuação", true}};
    declare(s.qryResposta, listed);
    setTexts(s.qryResposta, productRows(kResponse, "", " ORDER BY CDRESPINSPEC"));
    declare(s.qryRespGeral, listed);
    setTexts(s.qryRespGeral, same(std::string("SELECT ") + kResponse + kGeneral + " ORDER BY CDRESPINSPEC"));

    const std::initializer_list<FieldSpec> found = {{"CDRESPINSPEC", S, 5, "", true}, {"NMRESPINSPEC", S, 50, "", true},
                                                    {"VRPONTRESINS", N, 0, "", true}, {"IDFAIXRESINS", S, 1, "", true},
                                                    {"VRINIFAIXRES", N, 0, "", true}, {"VRFINFAIXRES", N, 0, "", true},
                                                    {"SGUNIDADE", S, 10, "", true}};
    declare(s.qryVdRespProd, found);
    setTexts(s.qryVdRespProd,
             productRows(std::string(kResponse) + ", SGUNIDADE", " AND (CDRESPINSPEC = :P_CDRESPINSPEC)", ""));
    declare(s.qryVdResposta, found);
    setTexts(s.qryVdResposta, same(std::string("SELECT ") + kRange + ", SGUNIDADE" + kGeneral +
                                   " AND (CDRESPINSPEC = :P_CDRESPINSPEC)"));

    declare(s.qryExistRespProd, {{"CDINSPECAO", S, 10, "", true}});
    setTexts(s.qryExistRespProd, productRows("CDINSPECAO", "", ""));
    declare(s.qryExistRespProdNull, {{"CDINSPECAO", S, 10, "", true}});
    setTexts(s.qryExistRespProdNull, same(std::string("SELECT CDINSPECAO") + kGeneral));

    // The normal range: rows of 0 points ("Correto"); the general ones in the
    // catalogue's order, as the server picks the range of the items it creates.
    declare(s.qryLimNorm, found);
    Dialects limNorm = productRows(kRange, " AND (VRPONTRESINS = 0)", " ORDER BY CDRESPINSPEC");
    limNorm.oracle = productRows(kRange, " AND (VRPONTRESINS = '0')", " ORDER BY CDRESPINSPEC").oracle;
    setTexts(s.qryLimNorm, limNorm);
    declare(s.qryLimNormNull, found);
    const auto limNormNull = [](const char* zero) {
        return std::string("SELECT ") + kRange + kGeneral + " AND (VRPONTRESINS = " + zero + ") ORDER BY NRSEQRESPINSP";
    };
    setTexts(s.qryLimNormNull, {limNormNull("0"), limNormNull("'0'"), limNormNull("0")});

    const std::initializer_list<FieldSpec> operators = {{"CDOPERADOR", S, 12, "Código", true},
                                                        {"NMOPERADOR", S, 40, "Nome", true}};
    declare(s.qryOperador, operators);
    const auto all = [](const char* nvl) {
        return std::string("SELECT CDOPERADOR, NMOPERADOR FROM OPERADOR WHERE (CDOPERADOR = ") + nvl +
               "(:P_CDOPERADOR, CDOPERADOR)) ORDER BY NMOPERADOR";
    };
    setTexts(s.qryOperador, {all("COALESCE"), all("NVL"), all("ISNULL")});
    declare(s.qryVdOperador, operators);
    setTexts(s.qryVdOperador, same("SELECT CDOPERADOR, NMOPERADOR FROM OPERADOR WHERE (CDOPERADOR = :P_CDOPERADOR)"));
}

}  // namespace screen
