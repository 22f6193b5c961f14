// Memos.
#include <QPlainTextEdit>

#include "gui/binders/binder.h"
#include "gui/binders/box_binder.h"
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
        // What is typed goes into the bound field as it is typed, through the record's
        // edit rules: a refused edit puts the field's text back into the memo.
        QObject::connect(m, &QPlainTextEdit::textChanged, m, [&view, name = c.name, m] {
            if (view.syncing()) return;
            const Control* ctl = view.form().comps.find(name);
            core::Field* f = ctl && !ctl->readOnly ? view.boundField(*ctl) : nullptr;
            if (!f || !f->dataSet().active()) return;
            const std::string typed = m->toPlainText().toStdString();
            if (typed == f->text()) return;
            view.run([f, typed] { writeTyped(*f, typed); }, false);
        });
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
