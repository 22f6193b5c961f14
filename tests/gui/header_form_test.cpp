// Typing into the header form's bound boxes, offscreen, as a user does: the key
// rules, leaving a box, and the product check that follows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "program_fixture.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace {

// The module open on a new request, with the form tab showing.
using HeaderForm = guitest::NewRequestWindow;

TEST_F(HeaderForm, AProductCodeTypedThroughItsMaskFindsTheProduct) {
    QLineEdit* code = box("dbeProduto");
    ASSERT_NE(code, nullptr);
    ASSERT_FALSE(code->inputMask().isEmpty());  // the product picture
    enter(code);
    ASSERT_EQ(s().comps.activeControl(), "dbeProduto");
    QTest::keyClicks(code, "1010010001");
    EXPECT_EQ(code->displayText(), "1.01.001.0001");

    enter(box("dbeDesc"));  // leaving the box stores the code and checks it
    EXPECT_EQ(s().comps.activeControl(), "dbeDesc");
    EXPECT_FALSE(code->hasFocus());
    EXPECT_EQ(s().cdsAuditoria.field("CDARVPROD").asString(), "1010010001");
    EXPECT_EQ(s().cdsAuditoria.field("NMPRODUTO").asString(), "Ácido Cítrico Anidro");
    EXPECT_EQ(box("dbeNmProduto")->text(), "Ácido Cítrico Anidro");
    EXPECT_EQ(code->displayText(), "1.01.001.0001");

    // An unknown product is refused and the focus goes back to its box.
    enter(code);
    code->selectAll();
    QTest::keyClicks(code, "9990000001");
    enter(box("dbeDesc"));
    EXPECT_EQ(s().comps.activeControl(), "dbeProduto");
    EXPECT_TRUE(code->hasFocus());

    // A saved request's code, entered and left untouched, is not written again.
    // (The toolbar's cancel asks first; the window here answers every question No.)
    view()->run([] { screen::frmPedidoAna->cdsAuditoria.cancel(); });
    ASSERT_EQ(s().cdsAuditoria.state(), core::DataSetState::Browse);
    ASSERT_FALSE(s().cdsAuditoria.field("CDARVPROD").isNull());
    enter(code);
    enter(box("dbeDesc"));
    EXPECT_EQ(s().cdsAuditoria.state(), core::DataSetState::Browse);
}

TEST_F(HeaderForm, AQuantityIsTypedAsItStandsAndStoredOnLeaving) {
    QLineEdit* qty = box("dbeQtAmos");
    ASSERT_NE(qty, nullptr);
    enter(qty);
    ASSERT_EQ(s().comps.activeControl(), "dbeQtAmos");
    const char* steps[][2] = {{"1", "1"}, {"2", "12"}, {",", "12,"}, {"5", "12,5"}};
    for (const auto& [key, shown] : steps) {
        QTest::keyClicks(qty, key);
        EXPECT_EQ(qty->text(), shown) << "after " << key;
        EXPECT_TRUE(s().cdsAuditoria.field("QTAMOSAUDI").isNull()) << "a key stored the box";
    }
    // The rule reads the box as it is: a second comma and a sign are refused.
    QTest::keyClicks(qty, ",");
    QTest::keyClicks(qty, "-");
    EXPECT_EQ(qty->text(), "12,5");

    enter(box("dbeDesc"));
    EXPECT_DOUBLE_EQ(s().cdsAuditoria.field("QTAMOSAUDI").asFloat(), 12.5);
    EXPECT_EQ(qty->text(), "12,500");  // shown in its display format once left
    EXPECT_TRUE(s().comps["dbeQtAmos"].text.empty());

    // Enter stores what is typed, too.
    enter(qty);
    qty->selectAll();
    QTest::keyClicks(qty, "3");
    QTest::keyClick(qty, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(s().cdsAuditoria.field("QTAMOSAUDI").asFloat(), 3.0);
}

}  // namespace
