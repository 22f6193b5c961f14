// The header's direct lookups of sectors and suppliers, in the four dialects.
// Oracle writes the optional parameter with NVL, SQL Server with ISNULL, InterBase
// passes it through the PARAM procedure and NVLSTR; SQLite and PostgreSQL run the
// standard text.
#include "core/format.h"
#include "platform/services.h"
#include "screen/frame/pedido_ana.h"
#include "screen/request/header_validation.h"

namespace screen {

namespace {

using core::FieldType;

void declare(core::RecordSet& set, const char* name, int size, const char* label, bool visible) {
    if (set.findField(name)) return;
    auto& f = set.addField(name, FieldType::String, size, label);
    f.visible = visible;
}

}  // namespace

void setupHeaderQueries(TfrmPedidoAna& s) {
    auto& setor = s.qrySetor;
    setor.SQL =
        "SELECT CDSETOR, NMSETOR FROM SETOR WHERE (CDSETOR = COALESCE(:P_CDSETOR, CDSETOR)) ORDER BY CDSETOR";
    setor.SQL_ORACLE =
        "SELECT CDSETOR, NMSETOR FROM SETOR WHERE (CDSETOR = NVL(:P_CDSETOR, CDSETOR)) ORDER BY CDSETOR";
    setor.SQL_MSSQL =
        "SELECT CDSETOR, NMSETOR FROM SETOR WHERE (CDSETOR = ISNULL(:P_CDSETOR, CDSETOR)) ORDER BY CDSETOR";
    setor.SQL_IB =
        "SELECT S.CDSETOR, S.NMSETOR FROM SETOR S, PARAM(:P_CDSETOR) P "
        "WHERE (S.CDSETOR = NVLSTR(P.PARAM, S.CDSETOR)) ORDER BY S.CDSETOR";
    declare(setor, "CDSETOR", 4, "Código", true);
    declare(setor, "NMSETOR", 30, "Nome", true);

    auto& vdSetor = s.qryVdSetor;
    vdSetor.SQL = vdSetor.SQL_ORACLE = vdSetor.SQL_MSSQL = vdSetor.SQL_IB =
        "SELECT CDSETOR, NMSETOR FROM SETOR WHERE (CDSETOR = :P_CDSETOR)";
    declare(vdSetor, "CDSETOR", 4, "", true);
    declare(vdSetor, "NMSETOR", 30, "", true);

    auto& forn = s.qryFornecedor;
    forn.SQL =
        "SELECT CDFORNECED, NRINSJURFORN, NMFANTFORN, IDTPIJURFORN FROM FORNECEDOR "
        "WHERE (CDFORNECED = COALESCE( :P_CDFORNECED, CDFORNECED)) ORDER BY CDFORNECED";
    forn.SQL_ORACLE =
        "SELECT CDFORNECED, NRINSJURFORN, NMFANTFORN, IDTPIJURFORN FROM FORNECEDOR "
        "WHERE (CDFORNECED = NVL( :P_CDFORNECED, CDFORNECED)) ORDER BY CDFORNECED";
    forn.SQL_MSSQL =
        "SELECT CDFORNECED, NRINSJURFORN, NMFANTFORN, IDTPIJURFORN FROM FORNECEDOR "
        "WHERE (CDFORNECED = ISNULL( :P_CDFORNECED, CDFORNECED)) ORDER BY CDFORNECED";
    forn.SQL_IB =
        "SELECT F.CDFORNECED, F.NRINSJURFORN, F.NMFANTFORN, F.IDTPIJURFORN FROM FORNECEDOR F, "
        "PARAM(:P_CDFORNECED) P "
        "WHERE (F.CDFORNECED = NVLSTR(P.PARAM, F.CDFORNECED)) ORDER BY F.CDFORNECED";
    declare(forn, "NRINSJURFORN", 20, "Inscrição", true);
    declare(forn, "CDFORNECED", 21, "Código", false);
    declare(forn, "NMFANTFORN", 40, "Nome", true);
    declare(forn, "IDTPIJURFORN", 1, "", false);
    // The list always shows the tax number formatted by the supplier's person type.
    forn.field("NRINSJURFORN").onGetText = [](const core::Field& f, bool) {
        const std::string raw = f.asString();
        const std::string mask = platform::PictPess(f.dataSet().field("IDTPIJURFORN").asString());
        return mask.empty() || raw.empty() ? raw : core::EditMask::parse(mask).apply(raw);
    };

    auto& vdForn = s.qryVdFornecedor;
    vdForn.SQL = vdForn.SQL_ORACLE = vdForn.SQL_MSSQL = vdForn.SQL_IB =
        "SELECT CDFORNECED, NMFANTFORN, NRINSJURFORN, IDTPIJURFORN FROM FORNECEDOR "
        "WHERE (NRINSJURFORN= :P_NRINSJURFORN)";
    declare(vdForn, "CDFORNECED", 21, "", true);
    declare(vdForn, "NMFANTFORN", 40, "", true);
    declare(vdForn, "NRINSJURFORN", 20, "", true);
    declare(vdForn, "IDTPIJURFORN", 1, "", true);
}

}  // namespace screen
