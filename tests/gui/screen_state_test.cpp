// The module's window, offscreen: tabs and menu items clicked in Qt go through the
// screen's model, and what the model enables, ticks and colours is what Qt shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <memory>
#include <string>

#include "core/error.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "program_fixture.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace {

class ScreenStateWindow : public guitest::ModuleWindow {
protected:
    void SetUp() override {
        ModuleWindow::SetUp();
        if (HasFatalFailure()) return;
        tabs_ = qobject_cast<QTabWidget*>(view()->widget("pgcPadrao"));
        ASSERT_NE(tabs_, nullptr);
    }

    // A menu item's action, found by its caption under the menu bar's menus.
    QAction* menuItem(const std::string& name) const {
        const QString caption = QString::fromStdString(s().comps[name].caption);
        for (QAction* top : view()->menuBar()->actions())
            if (QMenu* m = top->menu())
                for (QAction* a : m->actions())
                    if (a->text() == caption) return a;
        return nullptr;
    }
    // A toolbar button's action by its caption (long captions wrap on two lines).
    QAction* toolButton(const std::string& name) const {
        const QString caption = QString::fromStdString(s().comps[name].caption);
        for (QToolBar* bar : view()->findChildren<QToolBar*>())
            for (QAction* a : bar->actions())
                if (QString(a->text()).replace('\n', ' ') == caption) return a;
        return nullptr;
    }
    void go(const char* number) {
        view()->run([number] {
            auto& a = screen::frmPedidoAna->cdsAuditoria;
            if (!a.locate("NRAUDITORIA", core::Value(number))) throw core::Error("sem pedido");
        });
    }

    QTabWidget* tabs_ = nullptr;
};

TEST_F(ScreenStateWindow, TabsAndMenuItemsFollowTheModelBothWays) {
    go("0000000003");
    ASSERT_EQ(s().cdsAuditoria.field("NRAUDITORIA").asString(), "0000000003");
    QAction* form = menuItem("mnuFormulario");
    QAction* items = menuItem("mnuItensAna");
    QAction* list = menuItem("mnuFolhaDados");
    ASSERT_TRUE(form && items && list);
    EXPECT_TRUE(list->isChecked());
    EXPECT_FALSE(form->isChecked());

    // A click on the items tab.
    tabs_->setCurrentIndex(2);
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshItemAna");
    EXPECT_EQ(s().padrao(), &s().cdsInspecAudit);
    EXPECT_TRUE(items->isChecked());
    EXPECT_FALSE(list->isChecked());
    EXPECT_FALSE(toolButton("sbtFiltro")->isEnabled());

    // The form's menu item.
    form->trigger();
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshFormulario");
    EXPECT_EQ(tabs_->currentIndex(), 1);
    EXPECT_TRUE(form->isChecked());
    EXPECT_FALSE(items->isChecked());
    EXPECT_EQ(s().padrao(), &s().cdsAuditoria);

    // Editing the header closes the other tabs and their menu items in Qt too.
    toolButton("sbtAlterar")->trigger();
    ASSERT_EQ(s().cdsAuditoria.state(), core::DataSetState::Edit);
    EXPECT_FALSE(tabs_->isTabEnabled(0));
    EXPECT_FALSE(tabs_->isTabEnabled(2));
    EXPECT_FALSE(list->isEnabled());
    EXPECT_FALSE(items->isEnabled());
    EXPECT_TRUE(toolButton("sbtConfirmar")->isEnabled());
    EXPECT_FALSE(toolButton("sbtAlterar")->isEnabled());

    // A refused post keeps the form tab, even when the tab widget was moved.
    bool refuse = true;
    s().cdsAuditoria.beforePost.connect([&](core::RecordSet&) {
        if (refuse) throw core::Error("Descrição deve ser informada.");
    });
    tabs_->setCurrentIndex(0);
    EXPECT_EQ(tabs_->currentIndex(), 1);
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshFormulario");
    EXPECT_EQ(s().cdsAuditoria.state(), core::DataSetState::Edit);
    refuse = false;
    tabs_->setCurrentIndex(0);
    EXPECT_EQ(s().comps.activeTab("pgcPadrao"), "tshFolhaDados");
    EXPECT_EQ(s().cdsAuditoria.state(), core::DataSetState::Browse);
    EXPECT_TRUE(tabs_->isTabEnabled(2));
    EXPECT_TRUE(list->isChecked());
}

TEST_F(ScreenStateWindow, BoxesShowTheModelsEnablingAndColours) {
    go("0000000003");
    tabs_->setCurrentIndex(1);
    auto* product = qobject_cast<QLineEdit*>(view()->widget("dbeProduto"));
    auto* desc = qobject_cast<QLineEdit*>(view()->widget("dbeDesc"));
    auto* hour = qobject_cast<QLineEdit*>(view()->widget("medHora"));
    auto* sit = qobject_cast<QComboBox*>(view()->widget("dbcSit"));
    ASSERT_TRUE(product && desc && hour && sit);
    EXPECT_FALSE(product->isEnabled());
    EXPECT_TRUE(desc->isEnabled());
    EXPECT_TRUE(sit->isEnabled());
    EXPECT_TRUE(sit->styleSheet().contains("#FFFFE1"));  // required: the info colour
    EXPECT_EQ(hour->text().toStdString(), s().comps["medHora"].text);
    EXPECT_NE(hour->text(), "__:__");

    // A new request: the product is typed, the situation is not.
    toolButton("sbtIncluir")->trigger();
    ASSERT_EQ(s().cdsAuditoria.state(), core::DataSetState::Insert);
    EXPECT_TRUE(product->isEnabled());
    EXPECT_TRUE(product->styleSheet().contains("#FFFFE1"));
    EXPECT_FALSE(sit->isEnabled());
    EXPECT_TRUE(sit->styleSheet().contains("#ECE9D8"));
    // (The toolbar's cancel asks first; the window here answers every question No.)
    view()->run([] { screen::frmPedidoAna->cdsAuditoria.cancel(); });

    // A production order's request: its date is the order's, and the toolbar does not
    // edit it.
    auto* date = qobject_cast<QLineEdit*>(view()->widget("dbdData"));
    ASSERT_NE(date, nullptr);
    EXPECT_TRUE(date->isEnabled());
    go("0000000016");
    EXPECT_FALSE(date->isEnabled());
    EXPECT_TRUE(date->styleSheet().contains("#ECE9D8"));
    EXPECT_TRUE(desc->isEnabled());
    EXPECT_FALSE(toolButton("sbtAlterar")->isEnabled());
    EXPECT_FALSE(menuItem("mnuAlterar")->isEnabled());
}

}  // namespace
