// Push buttons and lookup buttons.
#include <QPushButton>

#include "gui/binders/binder.h"
#include "gui/form_view.h"
#include "gui/icons.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

class ButtonBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        auto* b = new QPushButton(c.caption.empty() ? QString("...") : captionOf(c), parent);
        if (c.kind == ControlKind::LookupButton) {
            b->setIcon(iconFor("lookup"));
            if (c.caption.empty()) b->setText(QString());
            b->setFixedWidth(28);
        }
        // A click must not take the focus from the box whose value it acts on.
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QPushButton::clicked, &view, [&view, name] {
            view.run([&view, name] {
                auto& ctl = view.form().comps[name];
                if (ctl.enabled && ctl.onClick) ctl.onClick();
            });
        });
        return b;
    }
    void sync(FormView&, const Control& c, QWidget* w) const override {
        if (!c.caption.empty()) static_cast<QPushButton*>(w)->setText(captionOf(c));
    }
};

}  // namespace

const ControlBinder& buttonBinder() {
    static const ButtonBinder b;
    return b;
}

}  // namespace gui
