#pragma once
#include <QString>
#include <string>

namespace gui {

// The host's edit masks ("!99/99/9999 99:99;1; ", "9.99.999;0; ") as Qt input
// masks: the host's '0' is a required digit and '9' an optional one, the other way
// round from Qt; the second part says whether literals are kept in the value, the
// third is the blank character.
struct HostMask {
    QString qtMask;            // empty when the host mask is empty
    bool saveLiterals = true;  // literals stay in the value
    QChar blank = '_';  // shown in empty positions
};
HostMask parseHostMask(const std::string& hostMask);

// The display text of a masked box as the field's value: blanks trimmed, literals dropped
// when the mask does not keep them; a box holding only literals is empty.
std::string maskedValue(const QString& shown, const HostMask& mask);

}  // namespace gui
