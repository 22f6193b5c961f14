// A new request typed into the header form, offscreen, and confirmed from the
// toolbar: the server numbers it and the list keeps it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

#include "gui/form_view.h"
#include "program_fixture.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace {

class SaveForm : public guitest::NewRequestWindow {
protected:
    void pick(const char* combo, const QString& text) {
        auto* cb = qobject_cast<QComboBox*>(view()->widget(combo));
        ASSERT_NE(cb, nullptr);
        const int i = cb->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        cb->setCurrentIndex(i);
        emit cb->activated(i);
        QCoreApplication::processEvents();
    }
    bool toolbar(const char* button) {
        return view()->run([button] { screen::frmPedidoAna->comps[button].onClick(); });
    }
};

TEST_F(SaveForm, ATypedRequestIsConfirmedAndNumberedByTheServer) {
    QLineEdit* code = box("dbeProduto");
    ASSERT_NE(code, nullptr);
    enter(code);
    QTest::keyClicks(code, "1010010001");
    QLineEdit* desc = box("dbeDesc");
    enter(desc);
    ASSERT_EQ(s().cdsAuditoria.field("NMPRODUTO").asString(), "Ácido Cítrico Anidro");
    pick("dbcProcesso", "Matéria Prima");
    enter(desc);
    QTest::keyClicks(desc, "Recebimento pela tela");

    toolbar("sbtConfirmar");
    auto& a = s().cdsAuditoria;
    EXPECT_EQ(a.state(), core::DataSetState::Browse);
    const std::string number = a.field("NRAUDITORIA").asString();
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(box("dbeNrAuditoria")->text().toStdString(), number);
    EXPECT_EQ(a.field("DSREFEAUDIT").asString(), "Recebimento pela tela");
    EXPECT_EQ(a.changeCount(), 0);
    // The brand is open only while a request is being entered.
    EXPECT_FALSE(box("dbeMarcaProd")->isEnabled());

    // Changed and confirmed again: the same request, with its new description.
    toolbar("sbtAlterar");
    ASSERT_EQ(a.state(), core::DataSetState::Edit);
    enter(desc);
    desc->selectAll();
    QTest::keyClicks(desc, "Descricao alterada");
    toolbar("sbtConfirmar");
    EXPECT_EQ(a.state(), core::DataSetState::Browse);
    EXPECT_EQ(a.field("NRAUDITORIA").asString(), number);
    EXPECT_EQ(a.field("DSREFEAUDIT").asString(), "Descricao alterada");
    EXPECT_EQ(a.changeCount(), 0);
}

}  // namespace
