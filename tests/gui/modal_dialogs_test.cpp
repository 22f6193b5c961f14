// The module's dialogs through the Qt host, as a user answers them: the authorization
// (its password hidden) and the request filter, each filled and confirmed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include "dialogs/authorization.h"
#include "dialogs/partial_approval.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "platform/session_login.h"
#include "program_fixture.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace {

using guitest::ModalDriver;
using guitest::ProgramWindow;

// A toolbar button of a view, by its caption.
QAction* toolAction(gui::FormView& view, const QString& caption) {
    for (auto* bar : view.findChildren<QToolBar*>())
        for (QAction* a : bar->actions())
            if (a->text() == caption) return a;
    return nullptr;
}

TEST_F(ProgramWindow, AuthorizationHidesThePasswordAndIsConfirmedThroughTheQtHost) {
    ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
    gui::MainWindow window;
    window.show();

    QLineEdit::EchoMode echo = QLineEdit::Normal;
    QString css;
    ModalDriver user([&](gui::FormView& view) {
        auto* senha = qobject_cast<QLineEdit*>(view.widget("edtSenha"));
        ASSERT_NE(senha, nullptr);
        echo = senha->echoMode();
        css = senha->styleSheet();
        QTest::keyClicks(senha, "demo");
        QAction* ok = toolAction(view, "Confirma");
        ASSERT_NE(ok, nullptr);
        ok->trigger();
    });
    cli_mxa07304::CriaContQuali("", cli_mxa07304::CANA);
    user.stop();

    EXPECT_TRUE(user.acted);
    EXPECT_FALSE(user.timedOut);
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_EQ(echo, QLineEdit::Password);
    EXPECT_TRUE(css.contains("lineedit-password-character: 42")) << css.toStdString();
    EXPECT_FALSE(screen::ValidaTela);  // granted
    EXPECT_EQ(cli_mxa07304::stOperLibAna, "DEMO");
    EXPECT_FALSE(cli_mxa07304::boIdCriado);  // closed and freed

    // A wrong password is refused in the dialog, which stays open until cancelled.
    ModalDriver wrong([&](gui::FormView& view) {
        QTest::keyClicks(qobject_cast<QLineEdit*>(view.widget("edtSenha")), "errada");
        toolAction(view, "Confirma")->trigger();
        EXPECT_TRUE(view.isVisible());
        toolAction(view, "Cancela")->trigger();
    });
    cli_mxa07304::CriaContQuali("", cli_mxa07304::CANA);
    EXPECT_FALSE(wrong.timedOut);
    ASSERT_EQ(wrong.messages.size(), 1u);
    EXPECT_EQ(wrong.messages[0], "Senha inválida");
    EXPECT_TRUE(screen::ValidaTela);
}

TEST_F(ProgramWindow, RequestFilterIsConfirmedThroughTheQtHost) {
    ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
    gui::MainWindow window;
    window.host().setUnattended(true);
    window.show();
    window.openModule();
    gui::FormView* view = window.moduleView();
    ASSERT_NE(view, nullptr);
    auto& list = screen::frmPedidoAna->cdsAuditoria;
    const int all = list.recordCount();
    ASSERT_GT(all, 0);

    window.host().setUnattended(false);
    ModalDriver user([&](gui::FormView& dialog) {
        auto* ok = qobject_cast<QPushButton*>(dialog.widget("btnOK"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    view->run([] { screen::frmPedidoAna->comps["sbtFiltro"].onClick(); });
    EXPECT_TRUE(user.acted);
    EXPECT_FALSE(user.timedOut);
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_TRUE(list.active());
    EXPECT_EQ(list.recordCount(), all);  // the same criteria load the same list
}

TEST_F(ProgramWindow, PartialApprovalShowsItsItemGridAndProposal) {
    ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
    gui::MainWindow window;
    window.host().setUnattended(true);
    window.show();
    window.openModule();
    ASSERT_TRUE(screen::frmPedidoAna->cdsAuditoria.locate("NRAUDITORIA", core::Value("0000000031")));
    screen::frmPedidoAna->boAprovacao = true;

    window.host().setUnattended(false);
    int rows = -1;
    QString approved;
    ModalDriver user([&](gui::FormView& dialog) {
        auto* grid = qobject_cast<QTableView*>(dialog.widget("dbgItem"));
        ASSERT_NE(grid, nullptr);
        rows = grid->model()->rowCount();
        auto* box = qobject_cast<QLineEdit*>(dialog.widget("edtQtAprovada"));
        ASSERT_NE(box, nullptr);
        approved = box->text();
        toolAction(dialog, "Cancela")->trigger();
    });
    cli_mxa07307::CriaAprovaParc();
    EXPECT_TRUE(user.acted);
    EXPECT_FALSE(user.timedOut);
    EXPECT_GE(rows, 1);
    EXPECT_EQ(approved.toStdString(), "10");
    EXPECT_TRUE(cli_mxa07307::boCancela);
}

}  // namespace
