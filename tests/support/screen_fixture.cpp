#include "support/screen_fixture.h"

#include "pkg/side_dialogs.h"
#include "platform/host.h"
#include "screen/frame/module_state.h"
#include "screen/side_dialogs.h"
#include "support/form_input.h"
#include "support/test_writes.h"

namespace testsupport {

void ScreenFixture::startSession(bool demo) {
    server_ = std::make_unique<TestServer>(demo, serverTls);
    platform::setHost(&host);
    pkg::installModuleDialogs();
}

void ScreenFixture::startModule(bool demo) {
    startSession(demo);
    screen::resetModuleState();
}

bool ScreenFixture::click(const std::string& control) { return testsupport::click(*screen_, control); }
bool ScreenFixture::click(platform::Form& form, const std::string& control) {
    return testsupport::click(form, control);
}

screen::TfrmPedidoAna& ScreenFixture::newScreen() {
    screen_ = std::make_unique<screen::TfrmPedidoAna>();
    return *screen_;
}

screen::TfrmPedidoAna& ScreenFixture::createScreen() {
    auto& s = newScreen();
    s.FormCreate();
    screen::frmPedidoAna = &s;
    return s;
}

void ScreenFixture::TearDown() {
    if (screen_) {
        screen::frmPedidoAna = nullptr;
        screen_.reset();
    }
    screen::installSideDialogs(nullptr);
    platform::setHost(nullptr);
    server_.reset();
}

void ModuleFixture::TearDown() {
    if (screen::frmPedidoAna) screen::frmPedidoAna->FormClose();
    screen::freeClosedScreen();
    ScreenFixture::TearDown();
}

long long ScreenFixture::exec(const std::string& sql) { return writeToDatabase(sql); }

}  // namespace testsupport
