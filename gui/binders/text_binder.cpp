// Labels, bound texts and images.
#include <QLabel>

#include "gui/binders/binder.h"
#include "gui/form_view.h"
#include "gui/icons.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

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

}  // namespace

const ControlBinder& textBinder() {
    static const TextBinder b;
    return b;
}

}  // namespace gui
