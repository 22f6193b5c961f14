#pragma once
#include <gtest/gtest.h>

#include <string>

#include "core/recordset.h"
#include "platform/handler.h"
#include "platform/scripted_host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state.h"
#include "screen/side_dialogs.h"
#include "support/form_input.h"
#include "support/screen_fixture.h"

namespace statetest {

using platform::Color;
using State = core::DataSetState;

// The analysis screen as the module entry makes it, over the real server with the
// demo data, its list loaded by the request filter with every situation ticked.
class ScreenState : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startModule();
        createScreen();
        loadList();
        host.clear();
    }
    void TearDown() override {
        screen::sideDialogs().LiberaFiltroPedido();
        ScreenFixture::TearDown();
    }

    // Confirms the filter with every situation ticked (or none), as the user would.
    void loadList(bool tickAll = true) {
        host.dialogs.push_back([tickAll](platform::Form& f) {
            for (const char* box : {"chbPendente", "chbAndamento", "chbCancelado", "chbOK", "chbNaoOK"})
                f.comps[box].checked = tickAll;
            f.comps["btnOK"].onClick();
        });
        screen::sideDialogs().CriaFiltroPedido();
        ASSERT_GT(a().recordCount(), 20);
    }

    platform::Control& c(const std::string& name) { return screen_->comps[name]; }
    bool on(const std::string& name) { return c(name).enabled; }
    std::string tab() { return screen_->comps.activeTab("pgcPadrao"); }

    // Makes the head office's request of that number current, as a click on its row does.
    void go(int number) {
        char nr[11];
        std::snprintf(nr, sizeof nr, "%010d", number);
        ASSERT_TRUE(a().locate({"CDFILIAL", "NRAUDITORIA"}, {core::Value("0001"), core::Value(nr)})) << nr;
    }
    // The user picks a tab; false when the screen kept the one it had.
    bool pick(const std::string& tabName) {
        return platform::runHandler([&] { screen_->comps.selectTab("pgcPadrao", tabName); });
    }
};

}  // namespace statetest
