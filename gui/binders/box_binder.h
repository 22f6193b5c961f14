#pragma once
#include <string>

#include "platform/components.h"

class QLineEdit;

namespace gui {

class FormView;

// Edit boxes: plain, masked, bound and date boxes (not memos or combos).
bool isEditBox(platform::ControlKind k);
// The mask a box edits through: its field's own, else the control's.
std::string maskOf(const platform::Control& c, const core::Field* f);
// Writes what the user typed into a field as the host's data-aware controls do: a
// browsed set goes into edit first, and the field's own text rules run.
void writeTyped(core::Field& f, const std::string& text);

// Stores what a bound box holds into its field (a click, Enter and leaving the box
// do; a key does not). Nothing happens for other controls or an untouched box.
void commitBox(FormView& view, const std::string& control);

// What a box holds as its field would store it (a masked box's blanks and unsaved
// literals dropped): the text the key rules read.
std::string boxText(FormView& view, const platform::Control& c, QLineEdit* e);

// The text Field::setText takes for what a line edit holds, by the field's own mask.
std::string fieldInputOf(QLineEdit* e, const core::Field& f);

}  // namespace gui
