// Check boxes and radio buttons.
#include <QCheckBox>
#include <QRadioButton>

#include "gui/binders/binder.h"
#include "gui/form_view.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

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

const ControlBinder& checkBinder() {
    static const CheckBinder b;
    return b;
}

}  // namespace gui
