#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/request/header_validation.h"
#include "screen/request/request_record.h"

namespace screen {

using platform::Control;
using platform::ControlKind;

namespace {

using building::ensure;

Control& bound(platform::ComponentModel& comps, const std::string& name, ControlKind kind, const std::string& field,
               const std::string& parent = "grbFormulario") {
    auto& c = ensure(comps, name, kind, parent);
    c.dataSource = "dtsAuditoria";
    c.dataField = field;
    return c;
}

void label(platform::ComponentModel& comps, const std::string& name, const std::string& caption,
           const std::string& parent = "grbFormulario") {
    ensure(comps, name, ControlKind::Label, parent).caption = caption;
}

void lookup(platform::ComponentModel& comps, const std::string& name) {
    ensure(comps, name, ControlKind::LookupButton, "grbFormulario");
}

}  // namespace

std::string situationImage(const std::string& code) {
    if (code == "1") return "imgPendente";
    if (code == "2") return "imgAndamento";
    if (code == "3") return "imgCancelado";
    if (code == "4") return "imgOK";
    if (code == "5") return "imgCancela";
    return {};
}

void dbgPadraoDrawColumnCell(platform::CellDraw& cell) {
    cell.image = situationImage(cell.value(cell.column.field).asString());
    cell.imageAlignment = platform::Alignment::Left;
    cell.text.clear();
}

void wireRequestSaveControls(TfrmPedidoAna& s);  // request_save.cpp

void buildRequestHeader(TfrmPedidoAna& s) {
    auto& c = s.comps;
    ensure(c, "grbFormulario", ControlKind::GroupBox, "tshFormulario");
    using K = ControlKind;

    label(c, "lblNumero", "Número");
    bound(c, "dbeNrAuditoria", K::DBEdit, "NRAUDITORIA").readOnly = true;
    label(c, "lblOperador", "Operador");
    bound(c, "dbeOperador", K::DBEdit, "NMOPERADOR").readOnly = true;

    label(c, "lblData", "Dt. Pedido");
    bound(c, "dbdData", K::DBDateEdit, "DATA");
    ensure(c, "medHora", K::MaskEdit, "grbFormulario").mask = "99:99;1; ";

    label(c, "lblLote", "Lote/SubLote");
    bound(c, "dbeLote", K::DBEdit, "NRLOTEESTQ");
    bound(c, "dbeSubLote", K::DBEdit, "NRSUBLOTE").maxLength = 3;
    lookup(c, "btpLote");

    label(c, "lblProduto", "Produto");
    bound(c, "dbeProduto", K::DBEdit, "CDARVPROD");
    bound(c, "dbeNmProduto", K::DBEdit, "NMPRODUTO").readOnly = true;
    lookup(c, "btpProduto");

    label(c, "lblDosagem", "Teor");
    bound(c, "dbeDosagem", K::DBEdit, "VRAPRPRODAUD");

    label(c, "lblSetor", "Setor");
    bound(c, "dbeSetor", K::DBEdit, "CDSETEXECAUD");
    bound(c, "dbeNmSetor", K::DBEdit, "NMSETOR").readOnly = true;
    lookup(c, "btpSetor");

    label(c, "lblFornecedor", "Fornecedor");
    bound(c, "dbeFornecedor", K::DBEdit, "NRINSJURFORN");
    bound(c, "dbeNmFornecedor", K::DBEdit, "NMFANTFORN").readOnly = true;
    lookup(c, "btpFornecedor");

    label(c, "lblProcesso", "Processo");
    bound(c, "dbcProcesso", K::DBComboBox, "IDTPAUDITADO");

    label(c, "lblPrevisao", "Dt. Previsão");
    bound(c, "dbdDataPrev", K::DBDateEdit, "DATAPREVFIM");
    ensure(c, "medHoraPrev", K::MaskEdit, "grbFormulario").mask = "99:99;1; ";

    label(c, "lblOP", "OP");
    bound(c, "dbeOP", K::DBEdit, "NRORDPROD").readOnly = true;

    label(c, "lblSit", "Situação");
    bound(c, "dbcSit", K::DBComboBox, "IDSTATUSAUDI");

    label(c, "lblDesc", "Descrição");
    bound(c, "dbeDesc", K::DBEdit, "DSREFEAUDIT");

    label(c, "lblEquipa", "Equipamento");
    bound(c, "dbeCdEquipProd", K::DBEdit, "CDEQUIPPRO");
    bound(c, "dbeNmEquipaProd", K::DBEdit, "NMEQUIPPRO");
    lookup(c, "btpEquipaProd");

    label(c, "lblDtValiLote", "Data de Validade");
    bound(c, "dbdDtValiLote", K::DBDateEdit, "DTVALILOTE").enabled = false;
    label(c, "lblProdAnte", "Prod. Anterior");
    bound(c, "dbeCdProdAnte", K::DBEdit, "CDARVPRODANTE").enabled = false;
    bound(c, "dbeNmProdAnte", K::DBEdit, "NMPRODANTE").enabled = false;
    label(c, "lblForn", "Lote Fornec.");
    bound(c, "dbeLoteForn", K::DBEdit, "NRLOTEFORN").enabled = false;
    label(c, "lblDtFabr", "Data de Fabricação");
    bound(c, "dbeDtFabr", K::DBEdit, "DTFABRPROD").enabled = false;

    label(c, "lblDtAmostra", "Dt. Amostra");
    bound(c, "dbdDtAmos", K::DBDateEdit, "DTAMOSAUDI");
    label(c, "lblQtdeAmos", "Qtde. Amostra");
    bound(c, "dbeQtAmos", K::DBEdit, "QTAMOSAUDI");

    // The brand belongs to a request only while it is being entered.
    label(c, "lblMarca", "Marca");
    c["lblMarca"].enabled = false;
    bound(c, "dbeMarcaProd", K::DBEdit, "CDMARCAPROD").enabled = false;
    lookup(c, "btnPesqMarca");
    c["btnPesqMarca"].enabled = false;
    bound(c, "dbeDsMarca", K::DBEdit, "NMMARCA").readOnly = true;

    ensure(c, "chbAnaCompat", K::CheckBox, "grbFormulario", "Análise de Compatibilidade");

    ensure(c, "grbJus", K::GroupBox, "tshFormulario", "Justificativa");
    bound(c, "dbeJus", K::DBEdit, "DSJUSTIFICATIVA", "grbJus").enabled = false;
    // The justification shows in its own box; the frame's memo would repeat it.
    if (auto* memo = c.find("dbmJustificativa")) memo->visible = false;

    // The list paints the situation as its status image at the cell's left edge; a row
    // without one shows nothing.
    if (auto* list = c.find("dbgPadrao"))
        if (auto* col = list->column("IDSTATUSAUDI")) col->onDraw = dbgPadraoDrawColumnCell;

    // The caption line under the navigator.
    auto& caption = bound(c, "dbtNome", K::DBText, "dbtNome", "tshFormulario");
    caption.readOnly = true;

    // The boxes' exits, changes, keys and lookups.
    setupHeaderValidation(s);
    wireRequestSaveControls(s);
}

}  // namespace screen
