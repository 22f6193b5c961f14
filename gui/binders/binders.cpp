#include <QWidget>

#include "gui/binders/binder.h"

namespace gui {

using platform::ControlKind;

const ControlBinder* binderFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::PageControl:
        case ControlKind::GroupBox: return &containerBinder();
        case ControlKind::Label:
        case ControlKind::DBText:
        case ControlKind::Image: return &textBinder();
        case ControlKind::Navigator: return &navigatorBinder();
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
        case ControlKind::DBEdit:
        case ControlKind::DBDateEdit: return &boxBinder();
        case ControlKind::Memo: return &memoBinder();
        case ControlKind::DBComboBox: return &comboBinder();
        case ControlKind::Button:
        case ControlKind::LookupButton: return &buttonBinder();
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: return &checkBinder();
        case ControlKind::Grid: return &gridBinder();
        case ControlKind::Form:
        case ControlKind::Tab:
        case ControlKind::ToolButton:
        case ControlKind::MenuItem: return nullptr;
    }
    return nullptr;
}

void applyColor(QWidget* w, platform::Color color, bool inert, bool required, const QString& extra) {
    QString css = extra;
    switch (color) {
        case platform::Color::Default:
            if (inert) css += "background-color: #ECE9D8;";
            else if (required) css += "background-color: #FFF3C4;";
            break;
        case platform::Color::BtnFace: css += "background-color: #ECE9D8;"; break;
        case platform::Color::InfoBk: css += "background-color: #FFFFE1;"; break;
        case platform::Color::Window: css += "background-color: #FFFFFF;"; break;
    }
    if (w->styleSheet() != css) w->setStyleSheet(css);
}

}  // namespace gui
