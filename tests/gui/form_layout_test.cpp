// How the program's window lays out the header form, offscreen, at the size it opens
// with and as the user resizes it: nothing overlapping or sticking out, boxes as wide
// as what they hold, labels in columns, Tab in reading order. And the dialogs the same
// layout arranges.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs/authorization.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "platform/session_login.h"
#include "program_fixture.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace {

using guitest::ModalDriver;
using guitest::ProgramWindow;
using platform::ControlKind;

// Layout requests are posted, and some are posted while others are handled.
void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

std::string nameOf(gui::FormView& view, const QWidget* w) {
    for (const auto& n : view.form().comps.names())
        if (view.widget(n) == w) return n;
    return w->metaObject()->className();
}

// Children of `container` that overlap one another or stick out of its contents.
std::vector<std::string> layoutFaults(gui::FormView& view, QWidget* container) {
    std::vector<QWidget*> shown;
    for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && w->isVisibleTo(container)) shown.push_back(w);
    std::vector<std::string> faults;
    const QRect inside = container->contentsRect();
    for (size_t i = 0; i < shown.size(); ++i) {
        if (!inside.contains(shown[i]->geometry())) faults.push_back(nameOf(view, shown[i]) + " sticks out");
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                faults.push_back(nameOf(view, shown[i]) + " overlaps " + nameOf(view, shown[j]));
    }
    return faults;
}

std::string joined(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += x + "; ";
    return s;
}

// The module open on a new request, so the header form's boxes take input.
class HeaderLayout : public guitest::NewRequestWindow {
protected:
    void SetUp() override {
        NewRequestWindow::SetUp();
        if (HasFatalFailure()) return;
        settle();
        form_ = view()->widget("grbFormulario");
        ASSERT_NE(form_, nullptr);
    }
    QMdiSubWindow* sub() const { return window_->mdi()->subWindowList().at(0); }
    QWidget* w(const char* name) const { return view()->widget(name); }
    QRect rectOf(const std::string& name) const {
        QWidget* c = view()->widget(name);
        return QRect(c->mapTo(form_, QPoint(0, 0)), c->size());
    }

    // The left edges of the shown labels, and of the first box after each of them.
    struct Columns {
        std::set<int> labels, boxes;
    };
    Columns columns() const {
        Columns c;
        const auto& comps = view()->form().comps;
        const auto names = comps.children("grbFormulario");
        for (size_t i = 0; i + 1 < names.size(); ++i) {
            if (comps[names[i]].kind != ControlKind::Label || !view()->widget(names[i])->isVisible()) continue;
            c.labels.insert(rectOf(names[i]).left());
            if (comps[names[i + 1]].kind != ControlKind::Label) c.boxes.insert(rectOf(names[i + 1]).left());
        }
        return c;
    }

    // Each shown label starts a row in one of the label columns; the boxes after the
    // labels start at one edge per column too.
    void expectColumns(size_t least, size_t most, const char* when) {
        const Columns c = columns();
        EXPECT_GE(c.labels.size(), least) << when;
        EXPECT_LE(c.labels.size(), most) << when;
        EXPECT_EQ(c.boxes.size(), c.labels.size()) << when;
        EXPECT_TRUE(layoutFaults(*view(), form_).empty()) << when << ": " << joined(layoutFaults(*view(), form_));
    }

    QWidget* form_ = nullptr;
};

TEST_F(HeaderLayout, BoxesAreAsWideAsWhatTheyHoldAndNothingOverlaps) {
    // As the program opens: no control over another or out of the group, labels in columns.
    expectColumns(1, 3, "as opened");

    // A sector code (4 characters) against a product name (50), a sub-lot (3) against
    // a lot (20), the hour against the date.
    EXPECT_LE(w("dbeSetor")->width() * 2, w("dbeNmProduto")->width());
    EXPECT_LE(w("dbeSubLote")->width() * 2, w("dbeLote")->width());
    EXPECT_LT(w("medHora")->width(), w("dbdData")->width());

    // A code, its name and its lookup on one line, in that order; the date and the hour too.
    for (const auto& line : {std::vector<std::string>{"lblProduto", "dbeProduto", "dbeNmProduto", "btpProduto"},
                             std::vector<std::string>{"lblData", "dbdData", "medHora"},
                             std::vector<std::string>{"lblLote", "dbeLote", "dbeSubLote", "btpLote"}}) {
        for (size_t i = 1; i < line.size(); ++i) {
            const QRect a = rectOf(line[i - 1]), b = rectOf(line[i]);
            EXPECT_LT(a.right(), b.left()) << line[i - 1] << " before " << line[i];
            EXPECT_TRUE(b.top() <= a.center().y() && a.center().y() <= b.bottom())
                << line[i] << " on the line of " << line[0];
        }
    }
    // The check box is a row of its own.
    const QRect check = rectOf("chbAnaCompat");
    for (const char* other : {"dbeMarcaProd", "dbeDsMarca", "btnPesqMarca", "lblMarca"})
        EXPECT_FALSE(check.top() <= rectOf(other).center().y() && rectOf(other).center().y() <= check.bottom())
            << other;

    // Masked boxes, dates and hours show all they hold.
    for (const char* name : {"dbeProduto", "dbeNrAuditoria", "dbeCdEquipProd", "dbdData", "medHora", "medHoraPrev"}) {
        auto* e = qobject_cast<QLineEdit*>(w(name));
        ASSERT_NE(e, nullptr) << name;
        ASSERT_FALSE(e->displayText().isEmpty()) << name;
        EXPECT_LT(QFontMetrics(e->font()).horizontalAdvance(e->displayText()), e->width() - 6)
            << name << " clips \"" << e->displayText().toStdString() << "\"";
    }
}

TEST_F(HeaderLayout, RowsReflowIntoColumnsAsTheWindowWidensAndNarrows) {
    window_->resize(1920, 1200);
    sub()->showMaximized();
    settle();
    expectColumns(2, 3, "wide");

    sub()->showNormal();
    sub()->resize(620, 560);
    settle();
    expectColumns(1, 1, "narrow");

    sub()->showMaximized();
    settle();
    expectColumns(2, 3, "wide again");
}

TEST_F(HeaderLayout, TabGoesThroughTheBoxesInReadingOrder) {
    window_->resize(1920, 1200);
    sub()->showMaximized();
    settle();
    const Columns c = columns();
    ASSERT_GE(c.labels.size(), 2u);

    // Reading order: down a column, along a line, then on to the next column.
    const auto place = [&](QWidget* x) {
        const QRect r(x->mapTo(form_, QPoint(0, 0)), x->size());
        const auto column = std::count_if(c.labels.begin(), c.labels.end(), [&](int edge) { return edge <= r.left(); });
        return std::tuple(column, r.center().y(), r.left());
    };
    // What Tab may stop at, as QWidget::focusNextPrevChild picks.
    const auto stops = [](QWidget* x) {
        return (x->focusPolicy() & Qt::TabFocus) && x->isVisible() && x->isEnabled() && !x->focusProxy();
    };
    QWidget* from = w("dbeProduto");
    std::vector<QWidget*> after;
    for (QWidget* x : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (stops(x) && place(x) > place(from)) after.push_back(x);
    std::sort(after.begin(), after.end(), [&](QWidget* a, QWidget* b) { return place(a) < place(b); });
    ASSERT_GE(after.size(), 8u);

    // Tab from the product box, until it leaves the form's group.
    std::vector<QWidget*> tabbed;
    for (QWidget* x = from->nextInFocusChain(); x != from && tabbed.size() <= after.size(); x = x->nextInFocusChain()) {
        if (!stops(x)) continue;
        if (!form_->isAncestorOf(x)) break;
        tabbed.push_back(x);
    }
    std::vector<std::string> expected, got;
    for (QWidget* x : after) expected.push_back(nameOf(*view(), x));
    for (QWidget* x : tabbed) got.push_back(nameOf(*view(), x));
    EXPECT_EQ(got, expected);
    ASSERT_GE(got.size(), 3u);
    // The product's name is never typed, and the content waits for a product and a
    // lot: Tab passes them by.
    EXPECT_EQ(got[0], "dbeSetor");
    EXPECT_EQ(got[1], "dbeFornecedor");
    EXPECT_EQ(got[2], "dbdDataPrev");
}

TEST_F(ProgramWindow, DialogsKeepTheirControlsApartAndInsideTheirGroups) {
    ASSERT_FALSE(platform::login("DEMO", "demo").has_value());
    gui::MainWindow window;
    window.host().setUnattended(true);
    window.show();
    window.openModule();
    window.host().setUnattended(false);

    // Each group's controls, and the groups among the dialog's other controls.
    const auto check = [](gui::FormView& dialog) {
        settle();
        std::set<QWidget*> containers;
        for (QGroupBox* g : dialog.findChildren<QGroupBox*>())
            if (g->isVisible()) containers.insert({g, g->parentWidget()});
        ASSERT_FALSE(containers.empty());
        std::vector<std::string> faults;
        for (QWidget* c : containers) {
            const auto f = layoutFaults(dialog, c);
            faults.insert(faults.end(), f.begin(), f.end());
        }
        EXPECT_TRUE(faults.empty()) << dialog.form().caption << ": " << joined(faults);
    };

    ModalDriver filter([&](gui::FormView& dialog) {
        check(dialog);
        qobject_cast<QPushButton*>(dialog.widget("btnOK"))->click();
    });
    window.moduleView()->run([] { screen::frmPedidoAna->comps["sbtFiltro"].onClick(); });
    filter.stop();
    EXPECT_TRUE(filter.acted);
    EXPECT_FALSE(filter.timedOut);

    ModalDriver authorization([&](gui::FormView& dialog) {
        check(dialog);
        dialog.run(dialog.form().comps["sbtCancel"].onClick);
    });
    cli_mxa07304::CriaContQuali("1", cli_mxa07304::EXCA);
    authorization.stop();
    EXPECT_TRUE(authorization.acted);
    EXPECT_FALSE(authorization.timedOut);
}

}  // namespace
