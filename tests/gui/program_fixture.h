#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "appserver/server.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/session_setup.h"
#include "gui_app.h"
#include "platform/session_login.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace guitest {

// The embedded server over a fresh demo database in a directory of the test's own.
class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        dir_ = std::filesystem::temp_directory_path() /
               ("mxa07300-gui-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        server_ = gui::startEmbeddedServer("sqlite:" + (dir_ / "mxa07300.db").string());
        gui::useEmbeddedServer(*server_);
    }
    void TearDown() override {
        server_.reset();
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::unique_ptr<appserver::Server> server_;
};

// The program's window, logged in, with the module open (the filter at entry
// confirmed as it stands: the window answers for an unattended user).
class ModuleWindow : public ProgramWindow {
protected:
    void SetUp() override {
        ProgramWindow::SetUp();
        ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
        window_ = std::make_unique<gui::MainWindow>();
        window_->host().setUnattended(true);
        window_->show();
        window_->openModule();
        QApplication::setActiveWindow(window_.get());
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        ASSERT_NE(view(), nullptr);
    }
    void TearDown() override {
        window_.reset();
        screen::freeClosedScreen();
        ProgramWindow::TearDown();
    }
    gui::FormView* view() const { return window_->moduleView(); }
    screen::TfrmPedidoAna& s() const { return *screen::frmPedidoAna; }
    QLineEdit* box(const char* name) const { return qobject_cast<QLineEdit*>(view()->widget(name)); }
    // Gives the box the focus as a click would, and waits for the view to follow.
    void enter(QLineEdit* e) {
        e->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<gui::MainWindow> window_;
};

// The same, on a new request (the form tab showing).
class NewRequestWindow : public ModuleWindow {
protected:
    void SetUp() override {
        ModuleWindow::SetUp();
        if (HasFatalFailure()) return;
        view()->run([] { screen::frmPedidoAna->comps["sbtIncluir"].onClick(); });
        ASSERT_EQ(screen::frmPedidoAna->cdsAuditoria.state(), core::DataSetState::Insert);
        ASSERT_EQ(screen::frmPedidoAna->comps.activeTab("pgcPadrao"), "tshFormulario");
    }
};

}  // namespace guitest
