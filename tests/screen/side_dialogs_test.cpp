// The screen opens its side dialogs through one interface; the module entry and the
// tests install the real dialogs behind it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/request_filter.h"
#include "pkg/entry.h"
#include "pkg/side_dialogs.h"
#include "platform/form.h"
#include "platform/scripted_host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/side_dialogs.h"
#include "support/form_input.h"
#include "support/screen_fixture.h"

namespace {

using screen::frmPedidoAna;
using screen::sideDialogs;

class SideDialogFlow : public testsupport::ModuleFixture {
protected:
    // The next modal dialog is cancelled; its caption is kept.
    void cancelNextDialog() {
        host.dialogs.push_back([this](platform::Form& f) {
            opened.push_back(f.caption);
            f.ModalResult = platform::mrCancel;
        });
    }

    std::vector<std::string> opened;
};

TEST_F(SideDialogFlow, ScreenOpensEachDialogThroughTheInterface) {
    cancelNextDialog();
    pkg::IniProc(core::Value());  // the entry opens the filter over the new screen
    ASSERT_NE(frmPedidoAna, nullptr);
    ASSERT_EQ(opened, std::vector<std::string>{"Filtro de Pedido de Análise"});

    cancelNextDialog();
    EXPECT_TRUE(testsupport::click(*frmPedidoAna, "sbtFiltro"));
    cancelNextDialog();
    EXPECT_TRUE(testsupport::click(*frmPedidoAna, "mnuFiltrar"));
    EXPECT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened.back(), "Filtro de Pedido de Análise");
    auto* filter = cli_mxa07301::frmFiltroPedido;
    EXPECT_NE(filter, nullptr);  // one dialog per screen, kept between openings

    // Cancelled authorization and justification answer "refused" where the callers read it.
    screen::ValidaTela = false;
    cancelNextDialog();
    sideDialogs().CriaContQuali("", "ALTC");
    EXPECT_EQ(opened.back(), "Controle de Qualidade");
    EXPECT_TRUE(screen::ValidaTela);
    screen::ValidaTela = false;
    cancelNextDialog();
    sideDialogs().CriaJustificativa("0000000001", "DEMO", "EXCA");
    EXPECT_EQ(opened.back(), "Justificativa");
    EXPECT_TRUE(screen::ValidaTela);

    // A partial approval whose window is closed counts as cancelled, so the save that
    // asked for it stops.
    cancelNextDialog();
    EXPECT_TRUE(sideDialogs().CriaAprovaParc());
    EXPECT_EQ(opened.back(), "Aprovação Parcial de Lote");

    // Dialogs still to come say so.
    host.messages.clear();
    sideDialogs().CriaRelPedidoAnalise();
    sideDialogs().CriaInfFatuVenc();
    sideDialogs().CriaReanalise();
    sideDialogs().CriaAprovaItem();
    ASSERT_EQ(host.messages.size(), 4u);
    for (const auto& m : host.messages)
        EXPECT_NE(m.text.find("ainda não está disponível"), std::string::npos) << m.text;
    EXPECT_EQ(opened.size(), 6u);  // none of them opened a dialog

    // Closing the screen frees its filter dialog.
    frmPedidoAna->FormClose();
    EXPECT_EQ(cli_mxa07301::frmFiltroPedido, nullptr);
}

TEST_F(SideDialogFlow, WithoutDialogsTheButtonRefusesInsteadOfDoingNothing) {
    cancelNextDialog();
    pkg::IniProc(core::Value());
    ASSERT_NE(frmPedidoAna, nullptr);
    screen::installSideDialogs(nullptr);
    testsupport::click(*frmPedidoAna, "sbtFiltro");
    EXPECT_EQ(host.lastText(), "Diálogo não disponível neste módulo.");
    EXPECT_TRUE(host.dialogs.empty());
    pkg::installModuleDialogs();  // the module entry puts them back
    cancelNextDialog();
    EXPECT_TRUE(testsupport::click(*frmPedidoAna, "sbtFiltro"));
    EXPECT_EQ(opened.size(), 2u);
}

}  // namespace
