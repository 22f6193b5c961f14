// The program's window, offscreen, over the embedded server and the demo database.
#include "gui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTableView>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "appserver/server.h"
#include "gui/form_view.h"
#include "gui/qt_host.h"
#include "platform/session_login.h"
#include "program_fixture.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace {

using guitest::ProgramWindow;

TEST_F(ProgramWindow, LoginRefusesAWrongPasswordInTheSystemsWords) {
    auto refused = platform::login("DEMO", "errada");
    ASSERT_TRUE(refused.has_value());
    EXPECT_FALSE(refused->empty());
    EXPECT_EQ(*platform::login("DEMO", ""), "Operador ou senha inválidos.");
    EXPECT_FALSE(platform::login("DEMO", "demo").has_value());
    EXPECT_EQ(platform::session().operador, "DEMO");
    EXPECT_EQ(platform::session().filial, "0001");
}

TEST_F(ProgramWindow, MainWindowShowsTheModulesScreenWithItsFourTabs) {
    ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
    {
        gui::MainWindow window;
        window.host().setUnattended(true);  // the filter opening at entry is confirmed as it stands
        window.show();
        window.openModule();
        QCoreApplication::processEvents();

        ASSERT_NE(screen::frmPedidoAna, nullptr);
        gui::FormView* view = window.moduleView();
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(window.mdi()->subWindowList().size(), 1);
        EXPECT_EQ(window.mdi()->subWindowList()[0]->windowTitle(), "Pedido de Análise ");

        auto* tabs = qobject_cast<QTabWidget*>(view->widget("pgcPadrao"));
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 4);
        EXPECT_EQ(tabs->tabText(0), "Pedido de Análise");
        EXPECT_EQ(tabs->tabText(1), "Formulário");
        EXPECT_EQ(tabs->tabText(2), "Ítens de Análises");
        EXPECT_EQ(tabs->tabText(3), "Fórmula da Análise");
        EXPECT_EQ(tabs->currentIndex(), 0);

        // The list grid shows the demo requests the filter loaded.
        auto* list = qobject_cast<QTableView*>(view->widget("dbgPadrao"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->model()->rowCount(), screen::frmPedidoAna->cdsAuditoria.recordCount());
        EXPECT_GT(list->model()->rowCount(), 0);
        EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Dt. Pedido");

        // A click on a tab goes through the screen's model.
        tabs->setCurrentIndex(2);
        EXPECT_EQ(screen::frmPedidoAna->comps.activeTab("pgcPadrao"), "tshItemAna");

        // Entering again brings the same window forward.
        window.openModule();
        EXPECT_EQ(window.mdi()->subWindowList().size(), 1);

        // Closing the window closes the screen; the next entry makes a new one.
        window.mdi()->subWindowList()[0]->close();
        EXPECT_EQ(screen::frmPedidoAna, nullptr);
        EXPECT_FALSE(screen::boIdCriado);
        window.openModule();
        EXPECT_NE(screen::frmPedidoAna, nullptr);
        EXPECT_NE(window.moduleView(), nullptr);
    }
    // The window's end closes the screen.
    EXPECT_EQ(screen::frmPedidoAna, nullptr);
    screen::freeClosedScreen();
}

}  // namespace
