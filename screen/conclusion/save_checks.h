#pragma once

namespace screen {

class TfrmPedidoAna;

// The checks the request's save runs around leaving or re-entering "Em Andamento":
// whether a reopened lot was already used, whether the analysis validity must be
// recalculated, whether the product has analyses for the process, and whether a
// compatibility analysis has its lots. They set boReverteTransf and boAltValidade,
// which the save sends to the server.

// Fields of cdsValidade, cdsProcesso and cdsQtAmostras and the checks' messages;
// run once, from the screen's constructor.
void declareSaveCheckFields(TfrmPedidoAna& s);

// Reopening a concluded request: refuses when the lot was already used, and asks
// whether the lot goes back to quarantine. Any refusal discards the request's
// pending changes.
void Verifica_Lote_Utilizado(TfrmPedidoAna& s);
// Asks whether the analysis validity is recalculated when the server's differs.
void Verifica_Validade_Alterada(TfrmPedidoAna& s);
// A new request needs an active analysis of its product for its process.
void Verifica_Processo(TfrmPedidoAna& s);
// A compatibility analysis is concluded only with at least one lot in its formula.
void Vd_Compatibilidade(TfrmPedidoAna& s);

// The user picked a situation in the header's list.
void dbcSitChange(TfrmPedidoAna& s);

}  // namespace screen
