#pragma once
#include <string>

#include "core/recordset.h"
#include "platform/base_screens.h"

// Unit Cli_mxa07307: splits the analysed lot's stock into an approved and a
// rejected quantity when an analysis is concluded with items marked for it; the
// rejected part becomes a new sub-lot. The request's save does the split.
namespace cli_mxa07307 {

class TfrmAprovaParcial : public platform::TfrmRotiGeral {
public:
    TfrmAprovaParcial();
    ~TfrmAprovaParcial() override;

    core::RecordSet cdsItemInsAudit{"cdsItemInsAudit"};
    core::RecordSet cdsProdFili{"cdsProdFili"};
    core::RecordSet cdsParaMan{"cdsParaMan"};
    core::RecordSet cdsPosestDia{"cdsPosestDia"};
    core::RecordSet cdsProxSubLote{"cdsProxSubLote"};

    void FormCreate() override;
    void FormActivate() {}
    void FormClose();

    void edtQtAprovadaExit();
    void edtQtReprovadaExit();
    void sbtConfirmaClick();
    void sbtCancelClick();
    // The situation icon of an item (S accepted, P pending, N rejected).
    static void dbgItemDrawColumnCell(platform::CellDraw& cell);

private:
    void buildControls();
    void loadSets(const std::string& process);
    void proposeQuantities();
    void showRecordedQuantities();
    void showLocations(const std::string& process);
    double stock() const;  // QTESTOQDIA
    // The quantity typed in a box: empty is 0; a text that is not a number is
    // refused in words, the focus on the box.
    double quantityIn(const std::string& box);
    void setQuantity(const std::string& box, double value);
};

// Module state, process-wide as the callers read it.
extern TfrmAprovaParcial* frmAprovaParcial;
extern bool boIdCriado;
// True unless the last dialog was confirmed. The dialog is freed on closing, so its
// answer outlives it here; closing the window counts as a cancel.
extern bool boCancela;

// Shows a fresh dialog modally over the main screen's current request: approval
// mode when frmPedidoAna->boAprovacao, view mode otherwise. A confirm writes the
// quantities and the new sub-lot into the main screen.
void CriaAprovaParc();

}  // namespace cli_mxa07307
