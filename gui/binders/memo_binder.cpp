// Memos.
#include <QPlainTextEdit>

#include "gui/binders/binder.h"
#include "gui/form_view.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

class MemoBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        auto* m = new QPlainTextEdit(parent);
        m->setMaximumHeight(80);
        view.watch(m, c.name);
        return m;
    }
    void sync(FormView& view, const Control& c, QWidget* w) const override {
        auto* m = static_cast<QPlainTextEdit*>(w);
        core::Field* f = view.boundField(c);
        const QString t = qs(f ? f->text() : c.text);
        if (m->toPlainText() != t) m->setPlainText(t);
        m->setReadOnly(c.readOnly);
    }
};

}  // namespace

const ControlBinder& memoBinder() {
    static const MemoBinder b;
    return b;
}

}  // namespace gui
