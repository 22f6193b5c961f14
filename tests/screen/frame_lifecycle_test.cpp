// The module entry and the analysis-request screen's creation, activation and
// closing, against the real server over the demo database.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "pkg/entry.h"
#include "platform/form.h"
#include "platform/host.h"
#include "platform/query.h"
#include "platform/scripted_host.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "support/backend_context.h"
#include "support/screen_fixture.h"

namespace {

using screen::frmPedidoAna;

class FrameLifecycle : public testsupport::ModuleFixture {
protected:
    // The filter dialog the entry opens: answered by cancelling, and counted.
    void expectFilterDialogs(int n) {
        for (int i = 0; i < n; ++i)
            host.dialogs.push_back([this](platform::Form& f) {
                ++filterOpenings;
                f.ModalResult = platform::mrCancel;
            });
    }
    std::vector<std::string> errors() const {
        std::vector<std::string> out;
        for (const auto& m : host.messages)
            if (m.type == platform::MsgType::Error) out.push_back(m.text);
        return out;
    }

    int filterOpenings = 0;
};

TEST_F(FrameLifecycle, EntryCreatesTheScreenOnceAndBringsItForwardAgain) {
    expectFilterDialogs(2);
    pkg::IniProc(core::Value());
    ASSERT_NE(frmPedidoAna, nullptr);
    screen::TfrmPedidoAna* first = frmPedidoAna;
    EXPECT_TRUE(screen::boIdCriado);
    EXPECT_TRUE(first->netPedidoAna.Connected());
    EXPECT_EQ(host.waitDepth, 0);  // hourglass and animation both off again
    EXPECT_GE(host.waitCount, 2);
    ASSERT_EQ(host.screensShown.size(), 1u);
    EXPECT_EQ(host.screensShown[0], first);
    EXPECT_EQ(filterOpenings, 1);
    EXPECT_TRUE(errors().empty());

    pkg::IniProc(core::Value());
    EXPECT_EQ(frmPedidoAna, first);  // no second screen
    EXPECT_EQ(host.screensShown.size(), 2u);
    EXPECT_EQ(host.screensShown[1], first);
    EXPECT_EQ(filterOpenings, 2);  // the filter opens again

    // What the creation set up.
    const auto& s = *first;
    EXPECT_EQ(s.screenCode, "MXA07300");
    EXPECT_EQ(s.caption, "Pedido de Análise ");
    EXPECT_EQ(s.netPedidoAna.ServerName, "MXA07300.rdmPedidoAna");
    EXPECT_FALSE(s.netPedidoAna.ThrowException);
    EXPECT_EQ(s.netPedidoAna.Port, platform::session().webPort);
    EXPECT_EQ(s.comps.tabs("pgcPadrao"),
              (std::vector<std::string>{"tshFolhaDados", "tshFormulario", "tshItemAna", "tshFormula"}));
    EXPECT_EQ(s.comps["tshFolhaDados"].caption, "Pedido de Análise");
    EXPECT_EQ(s.comps["tshItemAna"].caption, "Ítens de Análises");
    EXPECT_EQ(s.comps["tshFormula"].caption, "Fórmula da Análise");
    EXPECT_EQ(s.comps.activeTab("pgcPadrao"), "tshFolhaDados");
    EXPECT_EQ(s.comps["dbcSit"].items, (std::vector<std::string>{"Pendente", "Em Andamento", "Cancelado",
                                                                 "Concluído OK", "Concluído Não OK"}));
    EXPECT_EQ(s.comps["dbcProcesso"].items, (std::vector<std::string>{"Matéria Prima", "Material de Embalagem",
                                                                      "Produto em processo", "Produto Acabado"}));
    const auto& cols = s.comps["dbgPadrao"].columns;
    ASSERT_EQ(cols.size(), 13u);
    EXPECT_EQ(cols[0].field, "IDSTATUSAUDI");
    EXPECT_EQ(cols[0].title, "Sit.");
    EXPECT_EQ(cols[12].field, "DTVALANA");
    EXPECT_EQ(s.comps["grbAmostras"].caption, "Amostras");
    EXPECT_EQ(s.comps["dbgFormula"].parent, "grbAmostras");
    EXPECT_EQ(s.comps["grbRecursos"].caption, "Recursos");
    EXPECT_EQ(s.comps["dbgRecurso"].parent, "grbRecursos");
    EXPECT_FALSE(s.comps["sbtFatuVenc"].enabled);
    EXPECT_FALSE(s.comps["sbtLibAna"].enabled);
    EXPECT_FALSE(s.comps["btnFechaParc"].enabled);
    EXPECT_TRUE(s.comps["sbtFiltro"].enabled);
    EXPECT_EQ(s.comps["sbtFiltro"].caption, "Filtrar");
    EXPECT_EQ(s.comps["mnuFiltrar"].caption, "&Filtrar");
    EXPECT_EQ(s.comps["mnuItensAna"].caption, "&Ítens de Análise");
    EXPECT_FALSE(s.comps["imgOK"].visible);
    EXPECT_FALSE(s.comps["imgRetirado"].visible);

    const std::string dtMask = platform::DateMask().substr(0, platform::DateMask().size() - 4) + " 99:99;1; ";
    EXPECT_EQ(s.cdsInspecAudit.field("DTINIRINSAUD").editMask, dtMask);
    EXPECT_EQ(s.cdsRecurso.field("DTFIMRECUR").editMask, dtMask);
    EXPECT_EQ(s.cdsAuditoria.field("CDARVPROD").editMask, platform::DBPict(0));
    EXPECT_EQ(s.cdsPesqProd.field("CDARVPROD").editMask, platform::DBPict(0));
    EXPECT_EQ(s.qryInspecao.field("CDARVINSPEC").editMask, platform::DBPict(12));
    EXPECT_EQ(s.cdsItemInsAudit.field("CDARVINSPEC").editMask, platform::DBPict(12));
    EXPECT_EQ(s.cdsAuditoria.field("NRSUBLOTE").tag, 1);
    EXPECT_EQ(s.cdsAuditoria.field("NRAUDITORIA").tag, 1);

    // The demo branch's parameters and the demo's permission list.
    EXPECT_EQ(s.cdsParamFilial.recordCount(), 1);
    EXPECT_EQ(s.cdsParamMXA.recordCount(), 1);
    EXPECT_GT(s.cdsPermissaoAna.recordCount(), 0);
    EXPECT_TRUE(screen::boExistePermExcAna);
    EXPECT_TRUE(screen::boExistePermAltItem);
}

TEST_F(FrameLifecycle, ClosingFreesTheScreenAndReenteringReadsTheParametersAgain) {
    pkg::IniProc(core::Value());
    ASSERT_NE(frmPedidoAna, nullptr);
    screen::TfrmPedidoAna* first = frmPedidoAna;
    const std::string before = first->cdsParamMXA.field("IDUTSEGLIBANA").asString();
    const std::string after = before == "S" ? "N" : "S";

    // Module flags outlive the screen, except the ones creation resets.
    screen::boPermi = true;
    screen::boVdTeorVazio = true;
    screen::stIdAna = "C";
    screen::boAltValidade = true;
    screen::boControle = false;

    first->FormClose();
    EXPECT_EQ(frmPedidoAna, nullptr);
    EXPECT_FALSE(screen::boIdCriado);
    EXPECT_FALSE(first->netPedidoAna.Connected());
    EXPECT_TRUE(first->closed());

    exec("UPDATE PARAMMXA SET IDUTSEGLIBANA = '" + after + "' WHERE CDFILIAL = '0001'");
    pkg::IniProc(core::Value());
    ASSERT_NE(frmPedidoAna, nullptr);
    EXPECT_TRUE(screen::boIdCriado);
    EXPECT_EQ(frmPedidoAna->cdsParamMXA.field("IDUTSEGLIBANA").asString(), after);
    EXPECT_FALSE(screen::boPermi);
    EXPECT_FALSE(screen::boVdTeorVazio);
    EXPECT_EQ(screen::stIdAna, "");
    EXPECT_TRUE(screen::boAltValidade);
    EXPECT_FALSE(screen::boControle);
    EXPECT_FALSE(frmPedidoAna->closed());
}

TEST_F(FrameLifecycle, PermissionFlagsFollowTheListIgnoringCase) {
    // An empty list leaves both flags false, whatever they held.
    exec("DELETE FROM AUTGRUPOPER");
    screen::boExistePermExcAna = true;
    screen::boExistePermAltItem = true;
    pkg::IniProc(core::Value());
    ASSERT_NE(frmPedidoAna, nullptr);
    EXPECT_TRUE(frmPedidoAna->cdsPermissaoAna.isEmpty());
    EXPECT_FALSE(screen::boExistePermExcAna);
    EXPECT_FALSE(screen::boExistePermAltItem);
    frmPedidoAna->FormClose();

    // Only a lower-case "exca": the delete permission is found, the item one is not.
    exec("INSERT INTO AUTGRUPOPER (CDGRUPOPER, IDAUTGRUPOP, NRAUTGRUPOP) VALUES ('01', 'exca', '001')");
    pkg::IniProc(core::Value());
    ASSERT_NE(frmPedidoAna, nullptr);
    EXPECT_TRUE(screen::boExistePermExcAna);
    EXPECT_FALSE(screen::boExistePermAltItem);
}

TEST_F(FrameLifecycle, ServerErrorWhileReadingParametersHidesTheAnimationAndPropagates) {
    exec(testsupport::backendContext().dropTable("PARAMMXA"));

    // Creation itself: the error goes on, the animation is already off.
    {
        screen::TfrmPedidoAna s;
        EXPECT_ANY_THROW(s.FormCreate());
        EXPECT_EQ(host.waitDepth, 0);
        EXPECT_GE(host.waitCount, 1);
    }

    // Through the entry: shown once by the host, and no screen is left behind.
    host.clear();
    pkg::IniProc(core::Value());
    EXPECT_EQ(frmPedidoAna, nullptr);
    EXPECT_FALSE(screen::boIdCriado);
    EXPECT_TRUE(host.screensShown.empty());
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(FrameLifecycle, UnreachableServerGivesOneMessageAndNoScreen) {
    server_->server().stop();
    pkg::IniProc(core::Value());
    EXPECT_EQ(frmPedidoAna, nullptr);
    EXPECT_FALSE(screen::boIdCriado);
    EXPECT_TRUE(host.screensShown.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].type, platform::MsgType::Error);
    EXPECT_FALSE(host.messages[0].text.empty());
    EXPECT_EQ(host.waitDepth, 0);
}

}  // namespace
