#pragma once
#include <QString>
#include <string>

#include "platform/components.h"

class QWidget;

namespace gui {

class FormView;

// Makes the widget of one kind of control and repaints it from the model. One binder
// per kind, so a new kind of control is a new binder, not a new case in the view.
class ControlBinder {
public:
    virtual ~ControlBinder() = default;
    // Null when the control has no widget of its own (a tab is its page control's).
    virtual QWidget* create(FormView& view, const platform::Control& c, QWidget* parent) const = 0;
    virtual void sync(FormView& view, const platform::Control& c, QWidget* w) const = 0;
};

// The binder of a kind, or null for kinds the body does not show (toolbar buttons
// and menu items live in the view's bars).
const ControlBinder* binderFor(platform::ControlKind kind);

// Shared by the binders.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }
// The host's captions mark the accelerator with "&", as Qt does.
inline QString captionOf(const platform::Control& c) { return qs(c.caption.empty() ? c.name : c.caption); }
// The colour a rule gave the widget wins; otherwise widgets that take no input look
// like the button face and boxes that must be filled stand out.
void applyColor(QWidget* w, platform::Color color, bool inert, bool required, const QString& extra = {});

const ControlBinder& containerBinder();  // page controls, group boxes
const ControlBinder& textBinder();       // labels, bound texts, images
const ControlBinder& navigatorBinder();
const ControlBinder& boxBinder();        // edits, masked and bound boxes
const ControlBinder& memoBinder();
const ControlBinder& comboBinder();
const ControlBinder& buttonBinder();  // buttons and lookup buttons
const ControlBinder& checkBinder();   // check boxes and radio buttons
const ControlBinder& gridBinder();

}  // namespace gui
