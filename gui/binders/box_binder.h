#pragma once
#include <string>

#include "platform/components.h"

class QLineEdit;

namespace gui {

class FormView;

// Stores what a bound box holds into its field (a click, Enter and leaving the box
// do; a key does not). Nothing happens for other controls or an untouched box.
void commitBox(FormView& view, const std::string& control);

// What a box holds as its field would store it (a masked box's blanks and unsaved
// literals dropped): the text the key rules read.
std::string boxText(FormView& view, const platform::Control& c, QLineEdit* e);

// The text Field::setText takes for what a line edit holds, by the field's own mask.
std::string fieldInputOf(QLineEdit* e, const core::Field& f);

}  // namespace gui
