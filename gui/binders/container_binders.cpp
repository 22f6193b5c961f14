// Page controls, group boxes, labels, bound texts, images and the navigator.
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/binders/binder.h"
#include "gui/form_view.h"
#include "gui/icons.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

class ContainerBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        if (c.kind == ControlKind::GroupBox) {
            auto* gb = new QGroupBox(captionOf(c), parent);
            auto* gl = new QVBoxLayout(gb);
            view.fill(gb, gl, name);
            return gb;
        }
        auto* tw = new QTabWidget(parent);
        auto& comps = view.form().comps;
        for (const auto& tab : comps.tabs(name)) {
            auto* page = new QWidget(tw);
            auto* pl = new QVBoxLayout(page);
            view.fill(page, pl, tab);
            view.adopt(tab, page);
            tw->addTab(page, captionOf(comps[tab]));
        }
        QObject::connect(tw, &QTabWidget::currentChanged, &view, [&view, name](int i) {
            if (view.syncing()) return;
            view.run([&view, name, i] {
                auto& pc = view.form().comps[name];
                pc.activeTab = i;
                if (pc.onChange) pc.onChange();
            });
        });
        return tw;
    }

    void sync(FormView& view, const Control& c, QWidget* w) const override {
        if (c.kind == ControlKind::GroupBox) {
            static_cast<QGroupBox*>(w)->setTitle(qs(c.caption));
            return;
        }
        auto* tw = static_cast<QTabWidget*>(w);
        auto& comps = view.form().comps;
        const auto tabs = comps.tabs(c.name);
        for (int i = 0; i < static_cast<int>(tabs.size()) && i < tw->count(); ++i) {
            const auto& t = comps[tabs[i]];
            tw->setTabEnabled(i, t.enabled);
            tw->setTabVisible(i, t.visible);
            tw->setTabText(i, captionOf(t));
        }
        if (c.activeTab >= 0 && c.activeTab < tw->count()) tw->setCurrentIndex(c.activeTab);
    }
};

class TextBinder : public ControlBinder {
public:
    QWidget* create(FormView&, const Control& c, QWidget* parent) const override {
        auto* l = new QLabel(parent);
        if (c.kind == ControlKind::Label) l->setText(qs(c.caption));
        if (c.kind == ControlKind::Image) l->setPixmap(iconFor(c.image.empty() ? c.name : c.image).pixmap(16, 16));
        return l;
    }
    void sync(FormView& view, const Control& c, QWidget* w) const override {
        auto* l = static_cast<QLabel*>(w);
        if (c.kind == ControlKind::Label) {
            l->setText(qs(c.caption));
        } else if (c.kind == ControlKind::DBText) {
            // A view never fails on data: a field it cannot read shows nothing.
            QString t;
            try {
                auto* f = view.boundField(c);
                t = f ? qs(f->displayText()) : qs(c.caption);
            } catch (const std::exception&) {
            }
            l->setText(t);
        }
    }
};

// First, prior, next, last over the data source's set, and the position.
class NavigatorBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        auto* nav = new QWidget(parent);
        auto* nl = new QHBoxLayout(nav);
        nl->setContentsMargins(0, 0, 0, 0);
        const std::pair<QStyle::StandardPixmap, int> moves[] = {{QStyle::SP_MediaSkipBackward, 0},
                                                               {QStyle::SP_MediaSeekBackward, 1},
                                                               {QStyle::SP_MediaSeekForward, 2},
                                                               {QStyle::SP_MediaSkipForward, 3}};
        for (const auto& [pix, move] : moves) {
            auto* b = new QToolButton(nav);
            b->setIcon(view.style()->standardIcon(pix));
            b->setAutoRaise(true);
            b->setFocusPolicy(Qt::NoFocus);
            nl->addWidget(b);
            QObject::connect(b, &QToolButton::clicked, &view, [&view, name, move = move] {
                view.run([&view, name, move] {
                    auto* ds = view.form().comps.dataSource(view.form().comps[name].dataSource);
                    if (!ds || !ds->dataSet() || !ds->dataSet()->active()) return;
                    auto& set = *ds->dataSet();
                    if (move == 0) set.first();
                    else if (move == 1) set.prior();
                    else if (move == 2) set.next();
                    else set.last();
                });
            });
        }
        auto* pos = new QLabel(nav);
        pos->setObjectName("position");
        pos->setMinimumWidth(70);
        nl->addWidget(pos);
        nl->addStretch(1);
        return nav;
    }
    void sync(FormView& view, const Control& c, QWidget* w) const override {
        const auto* ds = view.form().comps.dataSource(c.dataSource);
        auto* l = w->findChild<QLabel*>("position");
        const auto* set = ds ? ds->dataSet() : nullptr;
        if (set && set->active())
            l->setText(QString("%1 / %2").arg(set->recNo()).arg(set->recordCount()));
        else
            l->setText(QString());
    }
};

}  // namespace

const ControlBinder& containerBinder() {
    static const ContainerBinder b;
    return b;
}
const ControlBinder& textBinder() {
    static const TextBinder b;
    return b;
}
const ControlBinder& navigatorBinder() {
    static const NavigatorBinder b;
    return b;
}

}  // namespace gui
