#pragma once
#include <QIcon>
#include <string>

namespace gui {

// Icons of the toolbar buttons and the status images, drawn or taken from the
// style so the program ships no image files.
QIcon iconFor(const std::string& name);

}  // namespace gui
