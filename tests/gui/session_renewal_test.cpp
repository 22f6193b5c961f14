// The login dialog asking the password again when the session ran out: who is
// logging in cannot change, the reason is shown, and Enter renews the session.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "gui/login_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "platform/session_login.h"
#include "program_fixture.h"
#include "support/server_sessions.h"

namespace {

using guitest::ProgramWindow;

TEST_F(ProgramWindow, ReloginDialogKeepsTheOperatorAndRenewsTheSessionOnEnter) {
    ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
    const std::string first = platform::session().token;
    gui::MainWindow window;
    window.show();
    testsupport::endServerSessions();

    struct Seen {
        bool shown = false;
        QString operador, prompt, focus;
        bool readOnly = false, promptAbove = false, arrow = false;
    } seen;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<gui::LoginDialog*>(QApplication::activeModalWidget());
        if (!dlg || seen.shown) return;
        seen.shown = true;
        auto* op = dlg->findChild<QLineEdit*>("operador");
        auto* prompt = dlg->findChild<QLabel*>("prompt");
        if (!op || !prompt) return;
        seen.operador = op->text();
        seen.readOnly = op->isReadOnly();
        seen.prompt = prompt->isVisible() ? prompt->text() : QString();
        seen.promptAbove = prompt->geometry().bottom() < op->geometry().top();
        seen.focus = dlg->focusWidget() ? dlg->focusWidget()->objectName() : QString();
        seen.arrow = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
        QTest::keyClicks(dlg->focusWidget(), "demo");
        QTest::keyClick(dlg->focusWidget(), Qt::Key_Return);
    });
    user.start(50);
    // A dialog that does not close fails the test instead of hanging it.
    QTimer::singleShot(10000, [] {
        if (auto* w = QApplication::activeModalWidget()) w->close();
    });

    // The call runs under the wait cursor, as the screen's calls do.
    window.host().waitOn(1);
    platform::TNetConnection conn;
    platform::pointAtSessionServer(conn);
    const core::Variant r = conn.call("getParamFilial", {"0001"});
    window.host().waitOff();
    user.stop();

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.operador, "DEMO");
    EXPECT_TRUE(seen.readOnly);
    EXPECT_EQ(seen.prompt, "Sessão expirada. Entre novamente.");
    EXPECT_TRUE(seen.promptAbove);
    EXPECT_EQ(seen.focus, "senha");
    EXPECT_TRUE(seen.arrow);
    EXPECT_FALSE(r.isError()) << r.error;
    EXPECT_FALSE(platform::session().token.empty());
    EXPECT_NE(platform::session().token, first);

    // Nobody at an unattended window: the prompt is given up, never left waiting.
    window.host().setUnattended(true);
    testsupport::endServerSessions();
    EXPECT_EQ(conn.call("getParamFilial", {"0001"}).error, "Sessão expirada. Entre novamente.");
}

}  // namespace
