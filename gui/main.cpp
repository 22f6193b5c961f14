// mxa07300: the analysis-request module in a host window of its own. By default it
// runs the application server inside the program over a local SQLite database
// seeded with the demo factory; --server points it at a separate server instead.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <clocale>
#include <iostream>

#include "appserver/server.h"
#include "core/heap.h"
#include "gui/form_view.h"
#include "gui/login_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/session_setup.h"
#include "platform/host.h"
#include "platform/session_login.h"
#include "screen/frame/module_state.h"

namespace {

int fail(const std::string& text, bool interactive) {
    if (interactive) QMessageBox::critical(nullptr, "Erro", QString::fromStdString(text));
    std::cerr << text << "\n";
    return 1;
}

// Shows a tab of the module's screen as a click on it would; false when the screen has no such tab.
bool showTab(gui::FormView& view, const std::string& tab) {
    const platform::Control* c = view.form().comps.find(tab);
    if (!c || c->kind != platform::ControlKind::Tab) return false;
    auto* pages = qobject_cast<QTabWidget*>(view.widget(c->parent));
    QWidget* page = view.widget(tab);
    if (!pages || !page || pages->indexOf(page) < 0) return false;
    pages->setCurrentWidget(page);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    core::keepFreedMemory();
    CLI::App cli{"Pedido de Análise (MXA07300)"};
    std::string server, ca, db, user, password, screenshot, tab, size;
    bool insert = false, maximized = false;
    cli.add_option("--server", server,
                   "Application server HOST:PORT or https://HOST:PORT (default: one inside this program)");
    cli.add_option("--ca", ca, "Certificate authority (PEM) of an https server (default: the system's store)");
    cli.add_option("--db", db,
                   "Database: sqlite:FILE or postgresql://... (default: a SQLite file in the local data folder, "
                   "seeded with the demo on first run)");
    cli.add_option("--user", user, "Operator (with --password, no login dialog)");
    cli.add_option("--password", password, "Password");
    cli.add_option("--screenshot", screenshot, "Write the window to this PNG once the screen is open, then quit");
    cli.add_option("--tab", tab, "Show this tab of the screen once it is open (e.g. tshFormulario)");
    cli.add_flag("--insert", insert, "Start a new request once the screen is open, as the toolbar's Incluir does");
    cli.add_option("--size", size, "Window size, WIDTHxHEIGHT (default 1280x800)");
    cli.add_flag("--maximized", maximized, "Open the window maximized");
    CLI11_PARSE(cli, argc, argv);

    QApplication app(argc, argv);
    // Qt takes the desktop's locale for the whole process; the database drivers of the
    // embedded server print and read numbers through it, so numbers stay in the C form.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("mxa07300");
    const bool interactive = screenshot.empty();
    QSize windowSize;
    if (!size.empty()) {
        const auto m = QRegularExpression("^(\\d+)[xX](\\d+)$").match(QString::fromStdString(size));
        if (!m.hasMatch() || m.captured(1).toInt() < 200 || m.captured(2).toInt() < 150)
            return fail("--size espera LARGURAxALTURA, por exemplo 1280x800: " + size, interactive);
        windowSize = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    }

    if (!ca.empty() && server.rfind("https://", 0) != 0)
        return fail("--ca vale apenas com --server https://HOST:PORTA.", interactive);
    std::unique_ptr<appserver::Server> embedded;
    if (server.empty()) {
        try {
            embedded = gui::startEmbeddedServer(db.empty() ? gui::defaultDatabase() : db);
            gui::useEmbeddedServer(*embedded);
        } catch (const std::exception& e) {
            return fail(std::string("Não foi possível iniciar o servidor de aplicação: ") + e.what(), interactive);
        }
    } else {
        try {
            gui::Endpoint e = gui::parseServerAddress(server);
            e.caFile = ca;
            e.db = db;
            gui::useEndpoint(e);
        } catch (const std::exception& e) {
            return fail(e.what(), interactive);
        }
    }

    if (!user.empty() && !password.empty()) {
        if (auto refused = platform::login(user, password)) return fail(*refused, interactive);
    } else {
        gui::LoginDialog dlg(QString::fromStdString(user.empty() && embedded ? "DEMO" : user));
        if (dlg.exec() != QDialog::Accepted) return 0;
    }
    // Whichever way the program ends from here, the session closes on the server, after
    // the window (and the module in it) and before the embedded server stops.
    struct LogoutAtExit {
        ~LogoutAtExit() { platform::logout(); }
    } logoutAtExit;

    gui::MainWindow window;
    window.host().setUnattended(!interactive);
    if (windowSize.isValid()) window.resize(windowSize);
    if (maximized) window.showMaximized();
    else window.show();
    window.openModule();

    if (insert || !tab.empty()) {
        gui::FormView* view = window.moduleView();
        if (!view) return fail("A tela do módulo não foi aberta.", interactive);
        if (insert) {
            // Through the toolbar button's own handler, so the form is left as a click leaves it.
            const platform::Control* add = view->form().comps.find("sbtIncluir");
            if (!add || !add->enabled || !add->onClick) return fail("Não é possível incluir agora.", interactive);
            view->run(add->onClick);
        }
        if (!tab.empty() && !showTab(*view, tab)) return fail("A tela não tem a aba " + tab + ".", interactive);
    }

    if (!screenshot.empty()) {
        QTimer::singleShot(0, &window, [&] {
            if (auto* sub = window.mdi()->activeSubWindow()) sub->showMaximized();
            // Layouts settle through posted events, some of them posted while others are handled.
            for (int i = 0; i < 3; ++i) QApplication::processEvents();
            const bool saved = window.grab().save(QString::fromStdString(screenshot), "PNG");
            if (!saved) std::cerr << "Não foi possível gravar " << screenshot << "\n";
            const bool opened = screen::frmPedidoAna != nullptr;
            if (!opened) std::cerr << "A tela do módulo não foi aberta.\n";
            QApplication::exit(saved && opened ? 0 : 1);
        });
    }
    return QApplication::exec();
}
