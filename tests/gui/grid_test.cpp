// A grid edited in place, offscreen, as a user works it: typing into a cell, picking
// from a pick list, the ellipsis button, keys with modifiers, cells painted from
// their row; and the faults a view must not have (a handler's column change drawn at
// once without resetting the grid, a field that cannot be shown).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <map>

#include "core/error.h"
#include "gui/form_view.h"
#include "gui/recordset_model.h"
#include "gui_app.h"
#include "platform/host.h"
#include "platform/scripted_host.h"

namespace {

using platform::ControlKind;
using platform::Key;

// An inspections grid in the shape the screens use: a code shown as its name, a
// pick list, a status image, a measured value.
class InspectionForm : public platform::Form {
public:
    core::RecordSet set{"cdsInspecAudit"};
    std::vector<std::string> log;
    std::map<int, std::string> drawn;  // what the analysis cell showed, by row
    bool badName = false;
    bool refuseExit = false;

    InspectionForm() {
        using T = core::FieldType;
        set.addField("CDARVINSPEC", T::String, 4, "Análise");
        set.addField("NMINSPECAO", T::String, 30, "Nome");
        set.addField("IDTIPOINSAUD", T::String, 1, "Tipo");
        set.addField("IDINSPCONC", T::String, 1, "Sit.");
        set.addField("VRRESP", T::Float, 0, "Valor");
        set.open();
        const std::vector<std::vector<core::Value>> rows = {{"0101", "Umidade", "A", "S", 1.5},
                                                            {"0102", "pH", "R", "P", 7.0},
                                                            {"0103", "Cor", "A", core::Value(), 0.0}};
        for (const auto& r : rows) {
            set.append();
            for (size_t i = 0; i < r.size(); ++i) set.fieldAt(i).setValue(r[i]);
            set.post();
        }
        set.mergeChangeLog();
        set.first();
        set["VRRESP"].onChange.connect([this](core::Field& f) { log.push_back("changed " + f.asString()); });
        set["NMINSPECAO"].onGetText = [this](const core::Field& f, bool) {
            if (badName) throw core::Error("nome ilegível");
            return f.asString();
        };

        comps.addDataSource("dtsInspecAudit", &set);
        auto& g = comps.add("dbgInspecAudit", ControlKind::Grid);
        g.dataSource = "dtsInspecAudit";
        g.columns = {{"CDARVINSPEC", "Análise"}, {"IDTIPOINSAUD", "Tipo"}, {"IDINSPCONC", "Sit."}, {"VRRESP", "Valor"}};
        g.column("CDARVINSPEC")->button = true;
        g.column("CDARVINSPEC")->onDraw = [this](platform::CellDraw& cell) {
            // The name, and the code itself only while it is being typed.
            if (!(cell.focused && cell.editing)) cell.text = cell.displayText("NMINSPECAO");
            drawn[cell.row] = cell.text;
        };
        g.column("IDTIPOINSAUD")->pickList = {"A", "R"};
        g.column("IDINSPCONC")->readOnly = true;
        g.column("IDINSPCONC")->onDraw = [](platform::CellDraw& cell) {
            const std::string v = cell.value("IDINSPCONC").asString();
            cell.image = v == "S" ? "imgOK" : v == "P" ? "imgPendente" : v == "N" ? "imgCancela" : "";
            cell.text.clear();
        };
        g.onColEnter = [this] { log.push_back("enter " + comps["dbgInspecAudit"].selectedField()); };
        g.onColExit = [this] {
            log.push_back("exit " + comps["dbgInspecAudit"].selectedField());
            if (refuseExit) throw core::Error("Valor deve ser informado.");
        };
        g.onEditButtonClick = [this] { log.push_back("button " + comps["dbgInspecAudit"].selectedField()); };
        g.onCellClick = [this](const std::string& field) { log.push_back("click " + field); };
        g.onKeyDown = [this](Key& k) {
            if (k.alt && k.is(platform::vk::Next)) {
                log.push_back("alt+pagedown");
                k.clear();
            }
        };
        g.onKeyPress = [this](Key& k) {
            if (k.text == "x") {
                log.push_back("x swallowed");
                k.clear();
            }
        };
        comps.add("rbtLista", ControlKind::RadioButton, {}, "Lista").onKeyDown = [this](Key& k) {
            if (k.is(platform::vk::F9)) log.push_back("F9");
        };
        auto& caption = comps.add("dbtNome", ControlKind::DBText);
        caption.dataSource = "dtsInspecAudit";
        caption.dataField = "NMINSPECAO";
        comps.add("lblAviso", ControlKind::Label, {}, "Aviso");
    }
    bool saw(const std::string& what) const { return std::find(log.begin(), log.end(), what) != log.end(); }
};

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::app();
        platform::setHost(&host_);
        view_ = std::make_unique<gui::FormView>(form_);
        view_->resize(900, 400);
        view_->show();
        QApplication::setActiveWindow(view_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(view_.get()));
        table_ = qobject_cast<QTableView*>(view_->widget("dbgInspecAudit"));
        ASSERT_NE(table_, nullptr);
        model_ = static_cast<gui::RecordSetModel*>(table_->model());
    }
    void TearDown() override {
        view_.reset();
        platform::setHost(nullptr);
    }
    // Moves to a cell as a click would and waits for the view to follow.
    void go(int row, int column) {
        table_->setFocus(Qt::MouseFocusReason);
        table_->setCurrentIndex(model_->index(row, column));
        QCoreApplication::processEvents();
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    // Pixels of a clearly saturated colour inside a cell (the status images are discs).
    int colouredPixels(const QImage& img, const QModelIndex& index) const {
        const QRect r = table_->visualRect(index);
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (QColor(img.pixel(x, y)).hsvSaturation() > 120) ++n;
        return n;
    }

    platform::ScriptedHost host_;
    InspectionForm form_;
    std::unique_ptr<gui::FormView> view_;
    QTableView* table_ = nullptr;
    gui::RecordSetModel* model_ = nullptr;
};

TEST_F(Grid, TypingInACellWritesThroughTheRecordSet) {
    go(1, 3);
    EXPECT_EQ(form_.set.recNo(), 2);
    EXPECT_TRUE(form_.saw("enter VRRESP"));

    QTest::keyClick(table_, Qt::Key_2);  // opens the editor with the key
    auto* editor = qobject_cast<QLineEdit*>(focused());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ",5");
    EXPECT_EQ(editor->text(), "2,5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();

    EXPECT_EQ(form_.set.state(), core::DataSetState::Edit);
    EXPECT_DOUBLE_EQ(form_.set["VRRESP"].asFloat(), 2.5);
    EXPECT_TRUE(form_.saw("changed 2.5"));
    EXPECT_EQ(model_->index(1, 3).data().toString(), "2,5");

    // Text the field refuses is shown in the system's words and changes nothing.
    QTest::keyClick(table_, Qt::Key_A);
    editor = qobject_cast<QLineEdit*>(focused());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_FALSE(host_.messages.empty());
    EXPECT_DOUBLE_EQ(form_.set["VRRESP"].asFloat(), 2.5);

    // A grid without key rules edits the same way.
    auto& g = form_.comps["dbgInspecAudit"];
    g.onKeyDown = nullptr;
    g.onKeyPress = nullptr;
    QTest::keyClick(table_, Qt::Key_3);
    editor = qobject_cast<QLineEdit*>(focused());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(form_.set["VRRESP"].asFloat(), 3.0);

    // Read-only cells never open an editor.
    go(1, 2);
    EXPECT_FALSE(model_->flags(model_->index(1, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(form_.saw("exit VRRESP"));
    EXPECT_TRUE(form_.saw("enter IDINSPCONC"));
}

TEST_F(Grid, ARefusedColumnExitKeepsTheCell) {
    go(0, 3);
    form_.refuseExit = true;
    go(0, 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "Valor deve ser informado.");
    EXPECT_EQ(form_.comps["dbgInspecAudit"].selectedField(), "VRRESP");
    EXPECT_EQ(table_->currentIndex(), model_->index(0, 3));
    form_.refuseExit = false;
    go(0, 1);
    EXPECT_EQ(form_.comps["dbgInspecAudit"].selectedField(), "IDTIPOINSAUD");
}

TEST_F(Grid, APickListCellTakesTheChosenItem) {
    go(0, 1);
    table_->edit(model_->index(0, 1));
    auto* combo = table_->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "A");
    QTest::keyClick(combo, Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(form_.set["IDTIPOINSAUD"].asString(), "R");
    EXPECT_EQ(form_.set.state(), core::DataSetState::Edit);
}

TEST_F(Grid, TheEllipsisButtonRaisesTheEditButtonEvent) {
    go(0, 0);
    const QRect cell = table_->visualRect(model_->index(0, 0));
    QTest::mouseClick(table_->viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 6, cell.center().y()));
    EXPECT_TRUE(form_.saw("button CDARVINSPEC"));
    EXPECT_EQ(form_.set.state(), core::DataSetState::Browse);  // the button edits nothing by itself
    EXPECT_FALSE(form_.saw("click CDARVINSPEC"));               // nor is it a click on the cell

    // A click elsewhere in a cell is the cell's.
    const QRect status = table_->visualRect(model_->index(1, 2));
    QTest::mouseClick(table_->viewport(), Qt::LeftButton, {}, status.center());
    EXPECT_TRUE(form_.saw("click IDINSPCONC"));
    EXPECT_EQ(form_.set.recNo(), 2);
    go(0, 0);

    // With the editor open the button is inside it, and what was typed is stored first.
    form_.log.clear();
    QTest::keyClick(table_, Qt::Key_9);
    auto* editor = qobject_cast<QLineEdit*>(focused());
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->actions().size(), 1);
    editor->actions().front()->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form_.saw("button CDARVINSPEC"));
    EXPECT_EQ(form_.set["CDARVINSPEC"].asString(), "9");
}

TEST_F(Grid, KeysReachTheRulesWithTheirModifiersAndASwallowedKeyStops) {
    go(0, 3);
    QTest::keyClick(table_, Qt::Key_PageDown, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form_.saw("alt+pagedown"));
    EXPECT_EQ(form_.set.recNo(), 1);  // swallowed: the grid did not page

    QTest::keyClick(table_, Qt::Key_X);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form_.saw("x swallowed"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(focused()), nullptr);  // no editor opened
    EXPECT_EQ(form_.set.state(), core::DataSetState::Browse);

    auto* radio = qobject_cast<QRadioButton*>(view_->widget("rbtLista"));
    ASSERT_NE(radio, nullptr);
    radio->setFocus(Qt::TabFocusReason);
    QTest::keyClick(radio, Qt::Key_F9);
    EXPECT_TRUE(form_.saw("F9"));
}

TEST_F(Grid, CellsArePaintedFromTheirRow) {
    go(2, 3);
    const QImage img = table_->viewport()->grab().toImage();
    EXPECT_EQ(form_.drawn[0], "Umidade");
    EXPECT_EQ(form_.drawn[1], "pH");
    EXPECT_GT(colouredPixels(img, model_->index(0, 2)), 20);  // imgOK for "S"
    EXPECT_GT(colouredPixels(img, model_->index(1, 2)), 20);  // imgPendente for "P"
    EXPECT_EQ(colouredPixels(img, model_->index(2, 2)), 0);   // nothing for none

    // The focused cell shows the code while its editor is open.
    go(0, 0);
    QTest::keyClick(table_, Qt::Key_0);
    table_->viewport()->repaint();
    EXPECT_EQ(form_.drawn[0], "0101");
}

TEST_F(Grid, AHandlersColumnChangeIsDrawnAtOnceAndOnlyAVisibilityChangeResets) {
    int resets = 0;
    QObject::connect(model_, &QAbstractItemModel::modelReset, [&] { ++resets; });
    auto& g = form_.comps["dbgInspecAudit"];
    view_->run([&] { g.column("IDTIPOINSAUD")->title = "Tipo de inspeção"; });
    EXPECT_EQ(model_->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Tipo de inspeção");
    view_->run([&] { g.column("VRRESP")->readOnly = true; });
    EXPECT_FALSE(model_->flags(model_->index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_EQ(resets, 0);

    view_->run([&] { g.column("IDINSPCONC")->visible = false; });
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model_->columnCount(), 3);
    for (int i = 0; i < 3; ++i) view_->run([] {});  // later handlers leave the grid alone
    EXPECT_EQ(resets, 1);
    // Shown again, in its declared place.
    view_->run([&] { g.column("IDINSPCONC")->visible = true; });
    EXPECT_EQ(model_->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Sit.");
}

TEST_F(Grid, AFieldThatCannotBeShownBreaksNothingElse) {
    form_.badName = true;
    EXPECT_TRUE(view_->run([&] { form_.comps["lblAviso"].caption = "Novo aviso"; }));
    EXPECT_EQ(qobject_cast<QLabel*>(view_->widget("lblAviso"))->text(), "Novo aviso");
    EXPECT_EQ(qobject_cast<QLabel*>(view_->widget("dbtNome"))->text(), "");
    table_->viewport()->repaint();  // the grid's name cells fall back to nothing, no throw
    form_.badName = false;
    view_->run([] {});
    EXPECT_EQ(qobject_cast<QLabel*>(view_->widget("dbtNome"))->text(), "Umidade");
}

}  // namespace
