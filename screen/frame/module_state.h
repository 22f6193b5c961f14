#pragma once
#include <functional>
#include <string>

#include "core/datetime.h"
#include "core/recordset.h"

namespace screen {

class TfrmPedidoAna;

// Process-wide state of the analysis-request unit, shared by the main screen's
// handlers and the side dialogs of the module. Values survive the screen: only
// FormCreate resets the ones it names.
extern TfrmPedidoAna* frmPedidoAna;  // the one live screen, or null
extern bool boIdCriado;              // the screen exists
extern bool boControle;              // interactive mode; false while a routine edits the request itself
extern bool ValidaTela;              // answer of the last authorization/justification dialog; true = refused
extern bool boPermi;                 // "ALTC" already granted for the current request
extern bool boConcAnalise;           // the post in progress concludes the analysis
extern bool boUltAnalise;            // no other request of the same production order remains
extern bool boAlteraStatus;          // the user changed the situation through its list
extern bool boVdTeorVazio;           // content missing on a concluding post
extern bool boVdTeorInv;             // content not greater than zero on a concluding post
extern bool boLibAna;                // a release of the analysis is posting the request
extern bool boReverteTransf;         // the situation change must reverse a stock transfer
extern bool boAltValidade;           // the analysis validity must be recalculated
extern bool boExistePermExcAna;      // the permission list holds an "EXCA" entry
extern bool boExistePermAltItem;     // the permission list holds an "IEIA" entry
extern bool boIdInsert;              // the inspection or item being posted was inserted, not edited
extern int inTotal;
extern int inContCheck;
extern std::string stIdAna;  // "C" compatibility analysis, "A" otherwise; sent with each header save
extern std::string stIdent;
extern std::string stVersao;
extern std::string stCamposNull;
extern core::DateTime DtConclusaoAux;  // conclusion date-time before the post in progress

// Puts every variable back to its load-time value (a fresh process, for the tests).
void resetModuleState();

// boControle off for the guard's life: what the screen posts meanwhile is its own
// update, not the user's, and the user's mode comes back however the routine ends.
class SystemUpdate {
public:
    SystemUpdate() { boControle = false; }
    ~SystemUpdate() { boControle = true; }
    SystemUpdate(const SystemUpdate&) = delete;
    SystemUpdate& operator=(const SystemUpdate&) = delete;
};

// An edit the screen makes itself, as a system update: edit, `change`, post. A refused
// post cancels the edit and goes on to the caller.
void postBySystem(core::RecordSet& set, const std::function<void()>& change);

}  // namespace screen
