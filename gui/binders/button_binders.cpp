// Push buttons, lookup buttons, check boxes and radio buttons.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

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

class CheckBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        QAbstractButton* b = c.kind == ControlKind::CheckBox
                                 ? static_cast<QAbstractButton*>(new QCheckBox(captionOf(c), parent))
                                 : new QRadioButton(captionOf(c), parent);
        QObject::connect(b, &QAbstractButton::clicked, &view, [&view, name](bool on) {
            view.run([&view, name, on] {
                auto& ctl = view.form().comps[name];
                ctl.checked = on;
                if (ctl.onClick) ctl.onClick();
            });
        });
        view.watch(b, name);  // F9 on a "Lista" choice opens its lookup
        return b;
    }
    void sync(FormView&, const Control& c, QWidget* w) const override {
        auto* b = static_cast<QAbstractButton*>(w);
        b->setText(captionOf(c));
        b->setChecked(c.checked);
    }
};

}  // namespace

const ControlBinder& buttonBinder() {
    static const ButtonBinder b;
    return b;
}
const ControlBinder& checkBinder() {
    static const CheckBinder b;
    return b;
}

}  // namespace gui
