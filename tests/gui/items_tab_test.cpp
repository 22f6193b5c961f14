// The items tab of the running program, offscreen: a user adds an inspection with the
// toolbar, picks its analysis through the cell's ellipsis, gives his justification,
// saves, and sees the items the server gave it; he types a measured value into an
// item and picks another's response, and sees each judged; with the last item answered
// and the inspection's end typed, the request concludes and the list shows it.
#include <gtest/gtest.h>
#include <soci/soci.h>

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "gui/lookup_dialog.h"
#include "program_fixture.h"

namespace {

using guitest::ModuleWindow;

QAction* toolAction(QWidget& view, const QString& caption) {
    for (auto* bar : view.findChildren<QToolBar*>())
        for (QAction* a : bar->actions())
            if (a->text() == caption) return a;
    return nullptr;
}

// Answers the modal windows as the user: the pick list takes its first row, the
// justification dialog gets a reason and is confirmed, the date-time picker takes
// tomorrow, message boxes are noted.
class User {
public:
    User() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(30);
    }
    std::vector<std::string> messages;
    int picked = 0, justified = 0, dated = 0;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == busy_) return;
        busy_ = modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages.push_back(box->text().toStdString());
            box->done(QMessageBox::Ok);
        } else if (auto* lookup = qobject_cast<gui::LookupDialog*>(modal)) {
            auto* table = lookup->findChild<QTableView*>();
            table->setCurrentIndex(table->model()->index(0, 0));
            QTest::keyClick(table, Qt::Key_Return);
            ++picked;
        } else if (auto* when = modal->findChild<QDateTimeEdit*>()) {
            // The date-time picker: a day after what it proposes (now).
            when->setDateTime(when->dateTime().addDays(1));
            qobject_cast<QDialog*>(modal)->accept();
            ++dated;
        } else if (auto* view = modal->findChild<gui::FormView*>()) {
            QTimer::singleShot(0, view, [this, view] {
                if (auto* jus = qobject_cast<QLineEdit*>(view->widget("edtJus"))) QTest::keyClicks(jus, "5");
                if (QAction* ok = toolAction(*view, "Confirma")) ok->trigger();
                ++justified;
            });
        }
    }
    QTimer timer_;
    QWidget* busy_ = nullptr;
};

// The request current and the items tab shown.
void showItemsTab(gui::FormView& view, const char* request) {
    auto& s = *screen::frmPedidoAna;
    view.run([&s, request] {
        s.cdsAuditoria.locate({"CDFILIAL", "NRAUDITORIA"}, {core::Value("0001"), core::Value(request)});
    });
    qobject_cast<QTabWidget*>(view.widget("pgcPadrao"))->setCurrentIndex(2);
}

// What a column's draw hook paints on a row the next time the grid is painted.
struct Painted {
    std::string text, image;
};
Painted paintedCell(gui::FormView& view, const char* grid, const char* field, int row) {
    auto& column = *screen::frmPedidoAna->comps[grid].column(field);
    const auto paint = column.onDraw;
    Painted seen;
    column.onDraw = [&](platform::CellDraw& c) {
        if (paint) paint(c);
        if (c.row == row) seen = {c.text, c.image};
    };
    view.run([] {});
    auto* table = qobject_cast<QTableView*>(view.widget(grid));
    const auto& columns = screen::frmPedidoAna->comps[grid].columns;
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].field == field) table->scrollTo(table->model()->index(row, static_cast<int>(i)));
    table->viewport()->grab();
    column.onDraw = paint;
    return seen;
}

TEST_F(ModuleWindow, AnInspectionAddedInTheGridShowsItsItems) {
    auto& s = this->s();
    showItemsTab(*view(), "0000000002");
    ASSERT_EQ(s.comps.activeTab("pgcPadrao"), "tshItemAna");
    auto* grid = qobject_cast<QTableView*>(view()->widget("dbgInspecAudit"));
    auto* items = qobject_cast<QTableView*>(view()->widget("dbgItem"));
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(items, nullptr);
    grid->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    ASSERT_EQ(s.padrao(), &s.cdsInspecAudit);
    ASSERT_EQ(grid->model()->rowCount(), 0);

    window_->host().setUnattended(false);
    User user;
    QAction* include = toolAction(*view(), "Incluir");
    ASSERT_NE(include, nullptr);
    include->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(s.cdsInspecAudit.state(), core::DataSetState::Insert);
    ASSERT_EQ(grid->model()->rowCount(), 1);

    // The analysis cell is current; its ellipsis opens the analyses of the penultimate level.
    const QModelIndex cell = grid->currentIndex();
    ASSERT_EQ(grid->model()->headerData(cell.column(), Qt::Horizontal).toString(), "Análise");
    const QRect r = grid->visualRect(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(r.right() - 6, r.center().y()));
    QCoreApplication::processEvents();
    EXPECT_EQ(user.picked, 1);
    EXPECT_EQ(s.cdsInspecAudit.field("CDARVINSPEC").asString(), "0101");

    QAction* confirm = toolAction(*view(), "Confirmar");
    ASSERT_NE(confirm, nullptr);
    confirm->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_EQ(user.justified, 1);
    EXPECT_EQ(s.cdsInspecAudit.state(), core::DataSetState::Browse);
    // The row paints the analysis by name; the items grid shows its three items.
    EXPECT_EQ(paintedCell(*view(), "dbgInspecAudit", "CDARVINSPEC", 0).text, "Físico-Química de Matéria-Prima");
    EXPECT_EQ(items->model()->rowCount(), 3);
    EXPECT_TRUE(items->isEnabled());
}

TEST_F(ModuleWindow, AValueTypedInAnItemAndAResponsePickedAreJudged) {
    auto& s = this->s();
    showItemsTab(*view(), "0000000006");  // sugar: moisture (a value) and aspect (a response)
    auto* items = qobject_cast<QTableView*>(view()->widget("dbgItem"));
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->model()->rowCount(), 2);
    window_->host().setUnattended(false);
    User user;
    const auto section = [&](const char* field) {
        const auto& cols = s.comps["dbgItem"].columns;
        for (size_t i = 0; i < cols.size(); ++i)
            if (cols[i].field == field) return static_cast<int>(i);
        return -1;
    };
    const auto clickCell = [&](int row, const char* field, bool onButton = false) {
        const QRect r = items->visualRect(items->model()->index(row, section(field)));
        const QPoint at = onButton ? QPoint(r.right() - 6, r.center().y()) : r.center();
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    };

    // Moisture at most 0,5: 0,7 is typed the Brazilian way and rejected.
    items->setFocus(Qt::MouseFocusReason);
    clickCell(0, "VRRESPINSAUD");
    ASSERT_EQ(s.comps["dbgItem"].selectedField(), "VRRESPINSAUD");
    QTest::keyClick(items, Qt::Key_0);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ",7");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);  // the view follows the stored value on the next turn of the loop
    ASSERT_EQ(s.cdsItemInsAudit.state(), core::DataSetState::Edit);
    EXPECT_EQ(s.cdsItemInsAudit.field("VRRESPINSAUD").displayText(), "0,70000");
    QAction* confirm = toolAction(*view(), "Confirmar");
    confirm->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_EQ(s.cdsItemInsAudit.state(), core::DataSetState::Browse);
    EXPECT_EQ(paintedCell(*view(), "dbgItem", "IDOPCACEITIN", 0).image, "imgCancela");
    EXPECT_EQ(paintedCell(*view(), "dbgItem", "DSLIMIINSP", 0).text, "Menor ou Igual à 0,5");
    EXPECT_EQ(paintedCell(*view(), "dbgItem", "CDRESPINSPEC", 0).text, "Acima do limite");

    // The aspect's response through the cell's ellipsis: the first, "Característico".
    clickCell(1, "CDRESPINSPEC");
    ASSERT_EQ(s.cdsItemInsAudit.field("CDARVINSPEC").asString(), "0101004");
    clickCell(1, "CDRESPINSPEC", true);
    EXPECT_EQ(user.picked, 1);
    EXPECT_EQ(s.cdsItemInsAudit.field("CDRESPINSPEC").asString(), "00001");
    confirm->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_EQ(paintedCell(*view(), "dbgItem", "IDOPCACEITIN", 1).image, "imgOK");
    EXPECT_EQ(paintedCell(*view(), "dbgItem", "CDRESPINSPEC", 1).text, "Característico");
}

TEST_F(ModuleWindow, TheLastItemAnsweredAndTheInspectionClosedConcludeTheRequest) {
    auto& s = this->s();
    {
        // Colleagues concluded the sugar request's other inspections; no item asks for
        // a partial approval.
        soci::session db(server_->backendName(), server_->connectString());
        db << "UPDATE ITEMINSAUDIT SET IDPARCIAL = 'N' WHERE NRAUDITORIA = '0000000006'";
        db << "UPDATE ITEMINSAUDIT SET IDOPCACEITIN = 'S' WHERE NRAUDITORIA = '0000000006' AND NRINSPECAUDI <> '001'";
        db << "UPDATE INSPECAUDIT SET IDINSPCONC = 'S', DTINIRINSAUD = COALESCE(DTINIRINSAUD, 46000), "
              "DTFINRINSAUD = COALESCE(DTINIRINSAUD, 46000) + 0.1 WHERE NRAUDITORIA = '0000000006' AND "
              "NRINSPECAUDI <> '001'";
    }
    showItemsTab(*view(), "0000000006");
    auto* items = qobject_cast<QTableView*>(view()->widget("dbgItem"));
    auto* inspections = qobject_cast<QTableView*>(view()->widget("dbgInspecAudit"));
    ASSERT_EQ(items->model()->rowCount(), 2);
    window_->host().setUnattended(false);
    User user;
    const auto clickCell = [&](QTableView* grid, const char* control, int row, const char* field, bool onButton) {
        const auto& cols = s.comps[control].columns;
        int section = -1;
        for (size_t i = 0; i < cols.size(); ++i)
            if (cols[i].field == field) section = static_cast<int>(i);
        grid->scrollTo(grid->model()->index(row, section));
        const QRect r = grid->visualRect(grid->model()->index(row, section));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          onButton ? QPoint(r.right() - 6, r.center().y()) : r.center());
        QCoreApplication::processEvents();
    };
    QAction* confirm = toolAction(*view(), "Confirmar");

    // Moisture within its limit, and the aspect's response picked: both accepted.
    items->setFocus(Qt::MouseFocusReason);
    clickCell(items, "dbgItem", 0, "VRRESPINSAUD", false);
    QTest::keyClick(items, Qt::Key_0);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ",3");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
    confirm->trigger();
    QCoreApplication::processEvents();
    clickCell(items, "dbgItem", 1, "CDRESPINSPEC", false);
    clickCell(items, "dbgItem", 1, "CDRESPINSPEC", true);
    confirm->trigger();
    QCoreApplication::processEvents();
    ASSERT_TRUE(user.messages.empty()) << user.messages.front();
    EXPECT_EQ(s.cdsAuditoria.field("IDSTATUSAUDI").asString(), "2");

    // A digit typed in the inspection's end cell opens the date-time picker.
    // Alt+PageDown goes back to the inspections.
    QTest::keyClick(items, Qt::Key_PageDown, Qt::AltModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(s.padrao(), &s.cdsInspecAudit);
    clickCell(inspections, "dbgInspecAudit", 0, "DTFINRINSAUD", false);
    QTest::keyClick(inspections, Qt::Key_1);
    QCoreApplication::processEvents();
    EXPECT_EQ(user.dated, 1);
    ASSERT_EQ(s.cdsInspecAudit.state(), core::DataSetState::Edit);
    confirm->trigger();
    QCoreApplication::processEvents();
    for (const auto& m : user.messages) EXPECT_EQ(m, "Deseja recalcular a data de validade da análise?");
    EXPECT_EQ(s.cdsInspecAudit.field("IDINSPCONC").asString(), "S");

    // The list shows the request concluded.
    qobject_cast<QTabWidget*>(view()->widget("pgcPadrao"))->setCurrentIndex(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.cdsAuditoria.field("NRAUDITORIA").asString(), "0000000006");
    EXPECT_EQ(s.cdsAuditoria.field("IDSTATUSAUDI").displayText(), "Concluído OK");
    const int row = s.cdsAuditoria.recNo() - 1;
    EXPECT_EQ(paintedCell(*view(), "dbgPadrao", "IDSTATUSAUDI", row).image, "imgOK");
}

TEST_F(ModuleWindow, TheDescriptionTypedUnderTheItemsIsSavedWithTheToolbar) {
    auto& s = this->s();
    showItemsTab(*view(), "0000000003");
    auto* memo = qobject_cast<QPlainTextEdit*>(view()->widget("dbrDesc"));
    ASSERT_NE(memo, nullptr);
    const std::string analysis = s.cdsItemInsAudit.field("CDINSPECAO").asString();
    window_->host().setUnattended(false);
    User user;
    memo->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    ASSERT_EQ(s.padrao(), &s.cdsDsProd);
    memo->selectAll();
    QTest::keyClicks(memo, "Sem grumos");
    QCoreApplication::processEvents();
    ASSERT_EQ(s.cdsDsProd.state(), core::DataSetState::Edit);
    toolAction(*view(), "Confirmar")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    soci::session db(server_->backendName(), server_->connectString());
    std::string stored;
    db << "SELECT DSINSPROD FROM DSINSPPROD WHERE NRAUDITORIA = '0000000003' AND CDINSPECAO = :a", soci::use(analysis),
        soci::into(stored);
    EXPECT_EQ(stored, "Sem grumos");
}

}  // namespace
