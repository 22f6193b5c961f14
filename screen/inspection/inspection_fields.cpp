#include "records/inspection_record.h"
#include "records/item_record.h"
#include "records/record_set.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/inspection/inspection.h"

namespace screen {

using namespace building;

namespace {

// The analysis tree: one analysis by code, and the list of a level, in each dialect.
void inspectionQueries(TfrmPedidoAna& s) {
    auto& vd = s.qryVdInspecao;
    vd.SQL_ORACLE = vd.SQL_MSSQL = vd.SQL_IB = vd.SQL =
        "SELECT CDARVINSPEC, NMINSPECAO, CDINSPECAO, IDTPRESPINSP FROM INSPECAO WHERE (IDORIGINSPEC = 'ANA') AND "
        "(CDNVINSPECAO = :P_CDNVINSPECAO) AND (CDARVINSPEC = :P_CDARVINSPEC) AND (IDSITINSPEC = 'A')";
    auto& list = s.qryInspecao;
    const std::string head =
        "SELECT CDARVINSPEC, NMINSPECAO, CDINSPECAO FROM INSPECAO WHERE (IDORIGINSPEC = 'ANA') AND "
        "(CDNVINSPECAO = :P_CDNVINSPECAO) AND (CDARVINSPEC = ";
    const std::string tail = "(:P_CDARVINSPEC, CDARVINSPEC)) AND (IDSITINSPEC = 'A') ORDER BY CDINSPECAO";
    list.SQL = head + "COALESCE" + tail;
    list.SQL_IB = head + "COALESCE" + tail;
    list.SQL_ORACLE = head + "NVL" + tail;
    list.SQL_MSSQL = head + "ISNULL" + tail;
}

}  // namespace

void declareInspectionFields(TfrmPedidoAna& s) {
    records::declareSet(s.cdsInspecAudit, records::inspectionRecord());
    declare(s.cdsPrxInspecAudit, {{"NRINSPECAUDI", S, 3, "", true}});
    declare(s.cdsVerHistCob, {{"CDCOBAIA", S, 10, "", true}});
    declare(s.cdsPesqCobaia, {{"CDCOBAIA", S, 10, "Código", true}, {"NMCOBAIA", S, 150, "Nome", true}});

    records::declareSet(s.cdsItemInsAudit, records::itemRecord());

    declare(s.cdsDsProd, {{"DSINSPROD", B, 0, "", true}});

    declare(s.qryInspecao, {{"CDARVINSPEC", S, 10, "Análise", true},
                            {"NMINSPECAO", S, 200, "Nome", true},
                            {"CDINSPECAO", S, 10, "", false}});
    declare(s.qryVdInspecao, {{"CDARVINSPEC", S, 10, "", true},
                              {"NMINSPECAO", S, 200, "", true},
                              {"CDINSPECAO", S, 10, "", true},
                              {"IDTPRESPINSP", S, 4, "", true}});
    inspectionQueries(s);
}

}  // namespace screen
