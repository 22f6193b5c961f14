// Combo boxes, bound or not.
#include <QComboBox>

#include "gui/binders/binder.h"
#include "gui/binders/box_binder.h"
#include "gui/form_view.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

class ComboBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        auto* cb = new QComboBox(parent);
        view.watch(cb, name);
        QObject::connect(cb, &QComboBox::activated, &view, [&view, name, cb](int i) {
            view.run([&view, name, cb, i] {
                auto& ctl = view.form().comps[name];
                ctl.itemIndex = i;
                ctl.text = cb->itemText(i).toStdString();
                if (auto* f = view.boundField(ctl)) writeTyped(*f, ctl.text);
                if (ctl.onChange) ctl.onChange();
            });
        });
        return cb;
    }
    void sync(FormView& view, const Control& c, QWidget* w) const override {
        auto* cb = static_cast<QComboBox*>(w);
        bool same = cb->count() == static_cast<int>(c.items.size());
        for (int i = 0; same && i < cb->count(); ++i) same = cb->itemText(i).toStdString() == c.items[i];
        if (!same) {
            cb->clear();
            for (const auto& i : c.items) cb->addItem(qs(i));
        }
        core::Field* f = view.boundField(c);
        const QString t = qs(f ? f->displayText() : c.text);
        const int idx = cb->findText(t);
        cb->setCurrentIndex(idx >= 0 ? idx : c.itemIndex);
        // Styled as a box, so the colour fills it as it fills the edit boxes beside it
        // (the platform style would only tint its bevel).
        applyColor(cb, c.color, !c.enabled, f && f->def.required,
                   "border: 1px solid #A0A0A0; border-radius: 2px; padding: 1px 18px 1px 3px;");
    }
};

}  // namespace

const ControlBinder& comboBinder() {
    static const ComboBinder b;
    return b;
}

}  // namespace gui
