// The four tabs: which set the toolbar works on, what each tab reloads when it opens
// or when another request becomes current, and what it opens or closes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/netconnection.h"
#include "screen_state_fixture.h"

namespace {

using statetest::ScreenState;
using statetest::State;

class ScreenTabs : public ScreenState {
protected:
    const core::RecordSet* base() { return s().padrao(); }
    std::string of(const core::RecordSet& set, const char* field) { return set.field(field).asString(); }
    // How many rows the server answers for a call, read apart from the screen.
    int rowsFor(const std::string& method, std::vector<core::Variant> args) {
        const auto answer = testsupport::call(method, std::move(args));
        EXPECT_TRUE(answer.result.isPacket()) << answer.result.error;
        return answer.result.isPacket() ? static_cast<int>(answer.result.packet->rows.size()) : -1;
    }
};

TEST_F(ScreenTabs, TheItemsTabWorksOnTheInspectionsOfTheCurrentRequest) {
    go(3);
    ASSERT_TRUE(pick("tshItemAna"));
    EXPECT_EQ(base(), &s().cdsInspecAudit);
    EXPECT_TRUE(c("mnuItensAna").checked);
    EXPECT_FALSE(c("mnuFormulario").checked);
    EXPECT_FALSE(c("mnuFolhaDados").checked);
    EXPECT_FALSE(on("sbtFiltro"));  // the filter belongs to the list and the form
    EXPECT_FALSE(on("mnuFiltrar"));
    const int inspections = rowsFor("GetInspecAudit", {"0001", "0000000003"});
    ASSERT_GT(inspections, 0);
    EXPECT_EQ(s().cdsInspecAudit.recordCount(), inspections);
    EXPECT_EQ(of(s().cdsInspecAudit, "NRAUDITORIA"), "0000000003");
    EXPECT_TRUE(s().cdsVdVersao.active());  // the product's versions, as the save reads them
    EXPECT_TRUE(s().cdsVersao.active());
    EXPECT_GT(host.waitCount, 0);
    EXPECT_EQ(host.waitDepth, 0);
    // A running request: inspections and items take new rows and the pickers.
    EXPECT_TRUE(on("sbtIncluir"));
    EXPECT_TRUE(on("sbtAlterar"));
    EXPECT_TRUE(c("dbgInspecAudit").column("DTINIRINSAUD")->button);
    EXPECT_TRUE(c("dbgInspecAudit").column("DTFINRINSAUD")->button);

    // An inspection being edited keeps the user on the tab.
    s().cdsInspecAudit.edit();
    for (const char* t : {"tshFolhaDados", "tshFormulario", "tshFormula", "mnuFolhaDados", "mnuFormulario"})
        EXPECT_FALSE(on(t)) << t;
    EXPECT_TRUE(on("sbtConfirmar"));
    s().cdsInspecAudit.cancel();
    for (const char* t : {"tshFolhaDados", "tshFormulario", "tshFormula", "mnuFolhaDados"}) EXPECT_TRUE(on(t)) << t;

    // Another request becoming current on this tab brings its own inspections.
    screen::boPermi = true;
    go(5);
    EXPECT_FALSE(screen::boPermi);
    EXPECT_EQ(of(s().cdsInspecAudit, "NRAUDITORIA"), "0000000005");
    // Concluded: nothing is added, changed or deleted, and the pickers are gone.
    for (const char* b : {"sbtIncluir", "sbtAlterar", "sbtExcluir", "mnuIncluir", "mnuAlterar", "mnuExcluir"})
        EXPECT_FALSE(on(b)) << b;
    EXPECT_FALSE(c("dbgInspecAudit").column("DTINIRINSAUD")->button);
    EXPECT_FALSE(c("dbgItem").column("CDRESPINSPEC")->button);

    // Back to the list: the toolbar works on the requests again.
    ASSERT_TRUE(pick("tshFolhaDados"));
    EXPECT_EQ(base(), &s().cdsAuditoria);
    EXPECT_TRUE(on("sbtFiltro"));
    EXPECT_FALSE(c("mnuItensAna").checked);
    EXPECT_TRUE(c("mnuFolhaDados").checked);
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

TEST_F(ScreenTabs, ARequestWithoutInspectionsClosesTheItems) {
    // Items of request 3 are open (the formula tab reads them).
    go(3);
    ASSERT_TRUE(pick("tshFormula"));
    ASSERT_TRUE(s().cdsItemInsAudit.active());
    ASSERT_FALSE(s().cdsItemInsAudit.isEmpty());
    ASSERT_TRUE(pick("tshFolhaDados"));
    go(2);  // pending, no inspections yet
    ASSERT_TRUE(pick("tshItemAna"));
    EXPECT_TRUE(s().cdsInspecAudit.active());
    EXPECT_TRUE(s().cdsInspecAudit.isEmpty());
    EXPECT_FALSE(s().cdsItemInsAudit.active());  // no other request's items stay in view
    EXPECT_TRUE(on("sbtIncluir"));               // the first inspection can be added
    EXPECT_FALSE(on("sbtAlterar"));
    EXPECT_FALSE(on("sbtExcluir"));
    ASSERT_TRUE(pick("tshFolhaDados"));
    EXPECT_FALSE(on("dbgItem"));  // nothing to show below an empty inspection list
    go(3);
    ASSERT_TRUE(pick("tshItemAna"));
    EXPECT_TRUE(on("dbgItem"));  // open on the tab that shows it
    ASSERT_TRUE(pick("tshFolhaDados"));
    EXPECT_TRUE(on("dbgItem"));
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

TEST_F(ScreenTabs, TheFormulaTabWorksOnTheSamplesOfTheCurrentItem) {
    go(3);
    screen::inContCheck = 3;
    ASSERT_TRUE(pick("tshFormula"));
    EXPECT_EQ(base(), &s().cdsFormulaAna);
    EXPECT_EQ(screen::inContCheck, 0);  // nothing ticked since the tab opened
    EXPECT_FALSE(c("mnuItensAna").checked);
    EXPECT_FALSE(c("mnuFormulario").checked);
    EXPECT_EQ(of(s().cdsInspecAudit, "NRAUDITORIA"), "0000000003");
    EXPECT_EQ(of(s().cdsItemInsAudit, "NRINSPECAUDI"), of(s().cdsInspecAudit, "NRINSPECAUDI"));
    const std::string item = of(s().cdsItemInsAudit, "CDINSPECAO");
    ASSERT_FALSE(item.empty());
    EXPECT_EQ(s().cdsFormulaAna.recordCount(), rowsFor("getFormulaAuditAna", {"0001", "0000000003", item}));
    EXPECT_EQ(s().cdsRecurso.recordCount(), rowsFor("getRecurAuditAna", {"0001", "0000000003", item}));
    EXPECT_TRUE(s().cdsRecurso.active());

    // Stock update only once rows are ticked, and only while browsing.
    EXPECT_FALSE(on("sbtAtualizaEstoque"));
    screen::inContCheck = 1;
    screen::dtsPadraoStateChange(s());
    EXPECT_TRUE(on("sbtAtualizaEstoque"));
    EXPECT_TRUE(on("mnuAtualizaEstoque"));
    // A running request takes samples.
    EXPECT_TRUE(on("sbtIncluir"));
    EXPECT_EQ(on("sbtAlterar"), !s().cdsFormulaAna.isEmpty());
    s().cdsRecurso.edit();
    screen::dtsPadraoStateChange(s());
    for (const char* t : {"tshFolhaDados", "tshFormulario", "tshItemAna"}) EXPECT_FALSE(on(t)) << t;
    s().cdsRecurso.cancel();
    screen::dtsPadraoStateChange(s());
    for (const char* t : {"tshFolhaDados", "tshFormulario", "tshItemAna"}) EXPECT_TRUE(on(t)) << t;

    // Another request becoming current here reads its own inspections and items, not
    // the formula of the previous request's item under the new number.
    go(22);
    EXPECT_EQ(of(s().cdsInspecAudit, "NRAUDITORIA"), "0000000022");
    EXPECT_EQ(of(s().cdsItemInsAudit, "NRAUDITORIA"), "0000000022");
    EXPECT_FALSE(on("sbtIncluir"));  // concluded
    EXPECT_FALSE(on("sbtAlterar"));

    // A production order's request takes samples only while the order runs.
    go(16);  // order 1001, in production
    EXPECT_TRUE(on("sbtIncluir"));
    exec("UPDATE ORDEMPROD SET IDSITORDPROD = '3' WHERE CDFILIAL = '0001' AND NRORDPROD = '0000001001'");
    ASSERT_TRUE(pick("tshFolhaDados"));
    loadList();
    go(16);
    ASSERT_TRUE(pick("tshFormula"));
    EXPECT_FALSE(on("sbtIncluir"));
    EXPECT_FALSE(on("mnuIncluir"));
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

TEST_F(ScreenTabs, MenuItemsPickTheirTabsAndTheDescriptionTakesTheToolbar) {
    go(3);
    EXPECT_TRUE(click("mnuFormulario"));
    EXPECT_EQ(tab(), "tshFormulario");
    EXPECT_TRUE(c("mnuFormulario").checked);
    EXPECT_TRUE(click("mnuItensAna"));
    EXPECT_EQ(tab(), "tshItemAna");
    EXPECT_EQ(base(), &s().cdsInspecAudit);

    // The product description box takes the toolbar while nothing is edited.
    ASSERT_TRUE(c("dbrDesc").onEnter);
    c("dbrDesc").onEnter();
    EXPECT_EQ(base(), &s().cdsDsProd);
    EXPECT_TRUE(click("mnuFolhaDados"));
    EXPECT_EQ(tab(), "tshFolhaDados");
    EXPECT_EQ(base(), &s().cdsAuditoria);
    // The list tab chosen again from its menu still runs the tab switch.
    s().setPadrao(&s().cdsInspecAudit);
    EXPECT_TRUE(click("mnuFolhaDados"));
    EXPECT_EQ(base(), &s().cdsAuditoria);

    // The items tab waits for the header being edited.
    ASSERT_TRUE(click("sbtAlterar"));
    click("mnuItensAna");
    EXPECT_EQ(tab(), "tshFormulario");
    EXPECT_EQ(a().state(), State::Edit);
    a().cancel();
    EXPECT_TRUE(host.messages.empty()) << host.lastText();
}

}  // namespace
