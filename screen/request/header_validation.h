#pragma once
#include <functional>
#include <string>

#include "platform/components.h"

namespace screen {

class TfrmPedidoAna;

// Field checks of the request header (cdsAuditoria): run when the user leaves a
// box and again, as a whole, before the header is saved. A refusal moves the focus
// to the offending box and raises the keyed message through MensErro; the request
// stays in edit.

// Wires the header form's boxes (exits, changes, keys, lookup buttons), declares
// the lookup record sets' fields and adds the messages. Run once, from FormCreate,
// after the header form is built.
void setupHeaderValidation(TfrmPedidoAna& s);

// cdsAuditoria is in edit or insert.
bool editing(const TfrmPedidoAna& s);

void Vd_Produto(TfrmPedidoAna& s, bool obrigatorio);
// kind "L" the lot, "S" the sub-lot.
void Vd_Lote(TfrmPedidoAna& s, const std::string& tipo, bool obrigatorio);
void Vd_Setor(TfrmPedidoAna& s);
void Vd_Fornecedor(TfrmPedidoAna& s, bool obrigatorio);
void Vd_EquipProd(TfrmPedidoAna& s);
void Vd_Marca(TfrmPedidoAna& s);
// Sets boUltAnalise: no other open request of the same production order remains.
void Vd_UltimaAnalise(TfrmPedidoAna& s);
// `box` names the hour box ("medHora", "medHoraPrev").
void Vd_Hora(TfrmPedidoAna& s, const std::string& box);
// `box` names a date box ("dbdData", "dbdDtAmos", "dbdDataPrev", "dbdDtValiLote").
void ValidaDataZ(TfrmPedidoAna& s, const std::string& box);
// The date box's own check: a typed text that is not a date is refused.
void CheckValidDate(TfrmPedidoAna& s, const std::string& box);
// The field's value before the edit, as text; empty when there is none.
std::string OldValue(const TfrmPedidoAna& s, const std::string& field);
// Refreshes the production stage's start from its analyses (after an inspection save).
void DtIniEtapa(TfrmPedidoAna& s);
// Enables the content box, colours it and sets boVdTeorVazio / boVdTeorInv.
void Vd_Teor(TfrmPedidoAna& s);

// Exit handlers of the header boxes.
void dbeProdutoExit(TfrmPedidoAna& s);
void dbeLoteExit(TfrmPedidoAna& s);
void dbeSetorExit(TfrmPedidoAna& s);
void dbeFornecedorExit(TfrmPedidoAna& s);
void dbeCdEquipProdExit(TfrmPedidoAna& s);
void dbeMarcaProdExit(TfrmPedidoAna& s);
void medHoraExit(TfrmPedidoAna& s);
void medHoraPrevExit(TfrmPedidoAna& s);

// Key rules: key-down handlers read the key's code, key-press handlers the character
// it types; a handler clears the key to discard it.
void dbeSubLoteKeyDown(TfrmPedidoAna& s, platform::Key& key);
void medHoraKeyPress(TfrmPedidoAna& s, platform::Key& key);
void medHoraPrevKeyPress(TfrmPedidoAna& s, platform::Key& key);
void medHoraPrevKeyDown(TfrmPedidoAna& s, platform::Key& key);
void dbeQtAmosKeyPress(TfrmPedidoAna& s, platform::Key& key);
void dbeDosagemKeyPress(TfrmPedidoAna& s, platform::Key& key);
void dbeMarcaProdKeyPress(TfrmPedidoAna& s, platform::Key& key);

// Lookup buttons: before the list (fills it; `cancel` stops the lookup), after a pick.
void btpLoteBeforePesq(TfrmPedidoAna& s, bool& cancel);
void btpLoteAfterPesq(TfrmPedidoAna& s);
void btpProdutoBeforePesq(TfrmPedidoAna& s, bool& cancel);
void btpProdutoAfterPesq(TfrmPedidoAna& s);
void btpSetorBeforePesq(TfrmPedidoAna& s, bool& cancel);
void btpSetorAfterPesq(TfrmPedidoAna& s);
void btpFornecedorBeforePesq(TfrmPedidoAna& s, bool& cancel);
void btpFornecedorAfterPesq(TfrmPedidoAna& s);
void btpEquipaProdBeforePesq(TfrmPedidoAna& s, bool& cancel);
void btpEquipaProdAfterPesq(TfrmPedidoAna& s);
void btnPesqMarcaBeforePesq(TfrmPedidoAna& s, bool& cancel);
void btnPesqMarcaAfterPesq(TfrmPedidoAna& s);

// Direct queries of the header (header_queries.cpp): texts in the four dialects
// and their fields.
void setupHeaderQueries(TfrmPedidoAna& s);

namespace header {
// Focuses `control` when it exists, then refuses with the text of `key`.
[[noreturn]] void refuse(TfrmPedidoAna& s, const std::string& control, const std::string& key);
// Focuses `control` only when it is enabled.
void focusIfEnabled(TfrmPedidoAna& s, const std::string& control);
}  // namespace header

}  // namespace screen
