#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/scripted_host.h"
#include "screen/frame/pedido_ana.h"
#include "support/test_server.h"

namespace testsupport {

// The base of the flow tests that play the analysis-request module: the real server
// over a fresh database, the scripted host answering for the user and, when the test
// asks for one, the analysis-request screen it holds. TearDown undoes it in reverse.
class ScreenFixture : public ::testing::Test {
protected:
    // The server (with the demo data or over an empty database) and the host installed.
    void startSession(bool demo = true);
    // The same, with the module's variables reset as a fresh process has them.
    void startModule(bool demo = true);

    // A new screen held by the fixture, neither created nor published.
    screen::TfrmPedidoAna& newScreen();
    // A new screen as the module entry makes it: FormCreate run, then published as
    // screen::frmPedidoAna.
    screen::TfrmPedidoAna& createScreen();

    // Unpublishes and frees the held screen, if any, uninstalls the host and stops the server.
    void TearDown() override;

    // Runs one statement on the session's database through the tests' writable connection
    // (the direct queries only read); the rows it touched.
    static long long exec(const std::string& sql);

    // The held screen, its request set, a field of the current request, and a click on
    // a control as the user's (false when its handler refused).
    screen::TfrmPedidoAna& s() { return *screen_; }
    core::RecordSet& a() { return screen_->cdsAuditoria; }
    core::Field& f(const char* name) { return screen_->cdsAuditoria.field(name); }
    bool click(const std::string& control);
    // A click on a control of another form (a side dialog).
    static bool click(platform::Form& form, const std::string& control);

    platform::ScriptedHost host;
    TlsFiles serverTls;  // set before startSession: the server speaks HTTPS
    std::unique_ptr<TestServer> server_;
    std::unique_ptr<screen::TfrmPedidoAna> screen_;
};

// The module as the host runs it over the demo data: entered through IniProc, so the
// screen is the module's own and is closed and freed as the module frees it.
class ModuleFixture : public ScreenFixture {
protected:
    void SetUp() override { startModule(true); }
    void TearDown() override;
};

}  // namespace testsupport
