// The inspections grid of the running program, offscreen: a user adds an inspection
// with the toolbar, picks its analysis through the cell's ellipsis, gives his
// justification, saves, and sees the items the server gave it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
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
// justification dialog gets a reason and is confirmed, message boxes are noted.
class User {
public:
    User() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(30);
    }
    std::vector<std::string> messages;
    int picked = 0, justified = 0;

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

TEST_F(ModuleWindow, AnInspectionAddedInTheGridShowsItsItems) {
    auto& s = this->s();
    view()->run([&s] {
        s.cdsAuditoria.locate({"CDFILIAL", "NRAUDITORIA"}, {core::Value("0001"), core::Value("0000000002")});
    });
    auto* tabs = qobject_cast<QTabWidget*>(view()->widget("pgcPadrao"));
    tabs->setCurrentIndex(2);
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
    auto& column = *s.comps["dbgInspecAudit"].column("CDARVINSPEC");
    const auto paint = column.onDraw;
    std::string painted;
    column.onDraw = [&](platform::CellDraw& c) {
        paint(c);
        if (c.row == 0) painted = c.text;
    };
    view()->run([] {});  // the grid takes its columns from the model
    grid->viewport()->grab();
    column.onDraw = paint;
    EXPECT_EQ(painted, "Físico-Química de Matéria-Prima");
    EXPECT_EQ(items->model()->rowCount(), 3);
    EXPECT_TRUE(items->isEnabled());
}

}  // namespace
