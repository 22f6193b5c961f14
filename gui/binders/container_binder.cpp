// Page controls and group boxes: containers whose children the view lays out.
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/binders/binder.h"
#include "gui/form_view.h"

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
        // The user's pick goes through the model, which may refuse it; the repaint
        // after the handler then shows the tab that stayed.
        QObject::connect(tw, &QTabWidget::currentChanged, &view, [&view, name](int i) {
            if (view.syncing()) return;
            view.run([&view, name, i] {
                auto& comps = view.form().comps;
                const auto tabs = comps.tabs(name);
                if (i >= 0 && i < static_cast<int>(tabs.size())) comps.selectTab(name, tabs[i]);
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

}  // namespace

const ControlBinder& containerBinder() {
    static const ContainerBinder b;
    return b;
}

}  // namespace gui
