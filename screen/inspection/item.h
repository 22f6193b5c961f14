#pragma once
#include <string>

#include "platform/components.h"
#include "platform/query.h"

namespace screen {

class TfrmPedidoAna;

// The items of the current inspection (cdsItemInsAudit): their answers, the response
// catalogue they are judged against, and the items grid dbgItem.

// --- the item record (item_record.cpp) ---
// Masks, formats, the texts of the codes, the messages of the item rules and the
// handlers below connected to the set. Run once, from the screen's constructor.
void setupItemRecord(TfrmPedidoAna& s);
// The direct queries of the items on the response catalogue and the operators, in
// each dialect (item_queries.cpp); run once, from the screen's constructor.
void declareItemQueries(TfrmPedidoAna& s);

void cdsItemInsAuditBeforeInsert(TfrmPedidoAna& s);
void cdsItemInsAuditNewRecord(TfrmPedidoAna& s);
void cdsItemInsAuditAfterInsert(TfrmPedidoAna& s);
void cdsItemInsAuditBeforeEdit(TfrmPedidoAna& s);
void cdsItemInsAuditAfterEdit(TfrmPedidoAna& s);
void cdsItemInsAuditBeforePost(TfrmPedidoAna& s);  // item_evaluation.cpp
void cdsItemInsAuditAfterPost(TfrmPedidoAna& s);
void cdsItemInsAuditBeforeDelete(TfrmPedidoAna& s);
void cdsItemInsAuditAfterDelete(TfrmPedidoAna& s);
void cdsItemInsAuditAfterCancel(TfrmPedidoAna& s);
void cdsItemInsAuditAfterScroll(TfrmPedidoAna& s);

// The item's analysis: an active analysis of the last level, under the inspection's
// analysis and not yet an item of it. `obligatory` refuses an empty code.
void Vd_InspUltNiv(TfrmPedidoAna& s, bool obligatory);
// An operator code of the current item, normalised and known, with its name.
void Vd_Operador(TfrmPedidoAna& s, bool obligatory, const char* codeField, const char* nameField);
// The response of an item not answered by a value: known for the analysis (in the
// product's catalogue when it has one), with its name, unit and verdict.
void Vd_Resposta(TfrmPedidoAna& s);
// True when the response catalogue holds rows of the product for the analysis,
// process and version ("x" or empty: none); an empty product asks for general rows.
bool ExistRespProd(TfrmPedidoAna& s, const std::string& analysis, const std::string& product,
                   const std::string& process, const std::string& version);
// The catalogue query for the current item's analysis: `own` with the product, the
// request's process and the version text bound when the product is filled and has
// rows for them, else `general`; the analysis bound in either. Not opened.
platform::TADOIBQuery& catalogueQuery(TfrmPedidoAna& s, platform::TADOIBQuery& own, platform::TADOIBQuery& general,
                                      const std::string& product);
// IDRESULTIMENS from the text RESULTADO shows: "D" for "Indetectável", "T" for
// "Incontável"; any other text leaves it.
void immeasurableFromText(TfrmPedidoAna& s);
// The product whose responses judge the request: the previous product when the
// request names one, else its own.
std::string responseProduct(const TfrmPedidoAna& s);
// The version in force of the request's product, "x" when there is none.
std::string versionText(const TfrmPedidoAna& s);

// --- result evaluation (item_evaluation.cpp) ---
// Judges the measured value or immeasurable result of a "VALR" item against the
// catalogue's ranges; an error leaves it pending with no response, the value kept
// and the focus on it.
void Vd_Resultado(TfrmPedidoAna& s);
// cdsExisteImensu: the immeasurable results the analysis' profile offers.
void loadImmeasurable(TfrmPedidoAna& s);
// Refuses an immeasurable result the analysis' profile does not offer.
void checkImmeasurableProfile(TfrmPedidoAna& s);
// The normal-range words of the current item: at its first save from the response
// product's catalogue (`atSave`), on leaving a value or response column from the
// request's own product's.
void composeNormalRange(TfrmPedidoAna& s, bool atSave);

// --- the items grid (item_grid.cpp) ---
void buildItemGrid(TfrmPedidoAna& s);
void dbgItemEnter(TfrmPedidoAna& s);
void dbgItemExit(TfrmPedidoAna& s);
void dbgItemColEnter(TfrmPedidoAna& s);
void dbgItemColExit(TfrmPedidoAna& s);
void dbgItemEditButtonClick(TfrmPedidoAna& s);
void dbgItemKeyPress(TfrmPedidoAna& s, platform::Key& key);
void dbgItemKeyDown(TfrmPedidoAna& s, platform::Key& key);
void dbgItemCellClick(TfrmPedidoAna& s, const std::string& field);
void dtsItemInsAuditStateChange(TfrmPedidoAna& s);
// The partial-approval column shows where the branch allows it for the request's process.
void Mostra_Colunas(TfrmPedidoAna& s);

}  // namespace screen
