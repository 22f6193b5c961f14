#pragma once
#include <functional>
#include <string>

#include "core/recordset.h"
#include "platform/components.h"
#include "platform/lookup_button.h"
#include "platform/messages.h"
#include "platform/netconnection.h"

namespace dialogs {

// Writes an unbound box's text and, when it changed, runs its change handler, as
// the host's edit does when its text is assigned.
void setControlText(platform::ComponentModel& comps, const std::string& name, const std::string& text);

// The justification check both dialogs share: pads the code in edtJus to 5
// characters, looks it up through `conn` into `cdsVdJustificativa` and shows its
// description in edtInfoJus; an unknown code clears the description and stops with
// Jus_NCad. On any failure edtJus gets the focus. An empty code is left to the caller.
void checkJustification(platform::ComponentModel& comps, const platform::TMessages& msgPadrao,
                        platform::TNetConnection& conn, core::RecordSet& cdsVdJustificativa);

// Declares the two justification record sets (code 5, description 100).
void declareJustificationSet(core::RecordSet& set, bool withLabels);

// The confirm and cancel buttons of the dialogs (sbtConfirma, sbtCancel) in place of
// the general-routine form's run and close buttons.
void addConfirmCancel(platform::ComponentModel& comps, std::function<void()> confirm, std::function<void()> cancel);

// Adds the justification group: edtJus, btnPesqJus, edtInfoJus.
void addJustificationControls(platform::ComponentModel& comps, const std::string& parent);

// The dialog's handlers the justification group calls.
struct JustificationHandlers {
    std::function<void()> exit;    // edtJus left
    std::function<void()> change;  // edtJus changed
    std::function<void(bool&)> beforePesq;
    std::function<void()> afterPesq;
};

// The group box "Justificativa" with its controls, wired to `handlers`, and the lookup
// `btnPesqJus` over `cdsJustificativa`.
void addJustificationGroup(platform::ComponentModel& comps, platform::TBtnPesquisa& btnPesqJus,
                           core::RecordSet& cdsJustificativa, JustificationHandlers handlers);

// Loads every justification into `cdsJustificativa` for the lookup.
void loadJustifications(platform::TNetConnection& conn, core::RecordSet& cdsJustificativa);

// Puts the justification chosen in the lookup into edtJus (firing its change) and edtInfoJus.
void takeChosenJustification(platform::ComponentModel& comps, core::RecordSet& cdsJustificativa);

// Stops with `message`, the focus on `control`, when nothing is typed in it.
void requireFilled(platform::ComponentModel& comps, const std::string& control, const std::string& message);

}  // namespace dialogs
