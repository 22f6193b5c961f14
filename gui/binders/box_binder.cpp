// Edit boxes: plain, masked, bound and date boxes, and storing what they hold.
#include "gui/binders/box_binder.h"

#include <QLineEdit>

#include "gui/binders/binder.h"
#include "gui/edit_mask.h"
#include "gui/form_view.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

std::string boxValue(QLineEdit* e, const HostMask& mask) {
    return mask.qtMask.isEmpty() ? e->text().toStdString() : maskedValue(e->displayText(), mask);
}

// The text Field::setText takes for what the box holds. A string field with its own
// mask strips the literals itself, position by position, so it gets the box as shown
// (blanks as spaces); any other field gets the value.
std::string fieldInput(QLineEdit* e, const HostMask& mask, const core::Field& f) {
    if (mask.qtMask.isEmpty() || f.editMask.empty() || f.type() != core::FieldType::String)
        return boxValue(e, mask);
    if (maskedValue(e->displayText(), mask).empty()) return {};
    QString shown = e->displayText();
    shown.replace(mask.blank, QChar(' '));
    return shown.toStdString();
}

class BoxBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        auto* e = new QLineEdit(parent);
        e->setObjectName(qs(name));
        view.watch(e, name);
        QObject::connect(e, &QLineEdit::textEdited, &view, [&view, name, e](const QString& t) {
            auto& ctl = view.form().comps[name];
            if (ctl.dataField.empty()) {
                const HostMask mask = parseHostMask(ctl.mask);
                ctl.text = mask.qtMask.isEmpty() ? t.toStdString() : maskedValue(e->displayText(), mask);
                if (ctl.onChange) view.run(ctl.onChange);
            } else {
                view.noteTyped(name);
            }
        });
        return e;
    }

    void sync(FormView& view, const Control& c, QWidget* w) const override {
        auto* e = static_cast<QLineEdit*>(w);
        core::Field* f = view.boundField(c);
        const bool focused = view.form().comps.activeControl() == c.name;
        const HostMask mask = parseHostMask(maskOf(c, f));
        if (e->inputMask() != mask.qtMask) e->setInputMask(mask.qtMask);
        // A masked box always edits through its mask; others show the display format
        // until they get the focus.
        const std::string text = f ? (focused || !mask.qtMask.isEmpty() ? f->text() : f->displayText()) : c.text;
        // Text typed and not stored yet stays while the box has the focus, unless the
        // logic has written the field since.
        if (const std::string* from = view.typedFrom(c.name); from && (!focused || !f || f->text() != *from))
            view.forgetTyped(c.name);
        if (!view.typing(c.name) && boxValue(e, mask) != text) e->setText(qs(text));
        const QLineEdit::EchoMode echo = c.passwordChar ? QLineEdit::Password : QLineEdit::Normal;
        if (e->echoMode() != echo) e->setEchoMode(echo);
        const bool ro = c.readOnly || (f && (f->readOnly || f->calculated));
        e->setReadOnly(ro);
        if (mask.qtMask.isEmpty()) {
            if (c.maxLength > 0) e->setMaxLength(c.maxLength);
            else if (f && f->size() > 0) e->setMaxLength(f->size());
        }
        const QString pwd = c.passwordChar
                                ? QString("lineedit-password-character: %1;").arg(int(uchar(c.passwordChar)))
                                : QString();
        applyColor(e, c.color, ro || !c.enabled, f && f->def.required, pwd);
    }
};

}  // namespace

bool isEditBox(ControlKind k) {
    return k == ControlKind::Edit || k == ControlKind::MaskEdit || k == ControlKind::DBEdit ||
           k == ControlKind::DBDateEdit;
}

std::string maskOf(const Control& c, const core::Field* f) {
    if (f && !f->editMask.empty()) return f->editMask;
    return c.mask;
}

void writeTyped(core::Field& f, const std::string& text) {
    auto& set = f.dataSet();
    if (set.state() == core::DataSetState::Browse) set.edit();
    f.setText(text);
}

void commitBox(FormView& view, const std::string& control) {
    const Control* c = view.form().comps.find(control);
    if (!c || !isEditBox(c->kind)) return;
    auto* e = qobject_cast<QLineEdit*>(view.widget(control));
    core::Field* f = view.boundField(*c);
    if (!e || !f) return;
    const HostMask mask = parseHostMask(maskOf(*c, f));
    // Compared as the field holds it, so leaving an untouched box writes nothing.
    if (boxValue(e, mask) != f->text()) {
        if (!f->dataSet().active()) return;
        writeTyped(*f, fieldInput(e, mask, *f));
    }
    // Stored: the box shows its field again.
    view.forgetTyped(control);
}

std::string fieldInputOf(QLineEdit* e, const core::Field& f) {
    return fieldInput(e, parseHostMask(f.editMask), f);
}

std::string boxText(FormView& view, const Control& c, QLineEdit* e) {
    return boxValue(e, parseHostMask(maskOf(c, view.boundField(c))));
}

const ControlBinder& boxBinder() {
    static const BoxBinder b;
    return b;
}

}  // namespace gui
