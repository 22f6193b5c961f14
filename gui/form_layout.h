#pragma once
#include <vector>

class QBoxLayout;
class QWidget;

namespace core {
class Field;
}
namespace platform {
struct Control;
}

namespace gui {

// A child of a container as the view made it.
struct FormChild {
    const platform::Control& control;
    QWidget* widget;
    const core::Field* field;  // the field a data-aware box shows, or null
};

// Arranges a container's children, in the order the form declares them, into the
// container's layout. A label heads a row with the boxes and buttons that follow it;
// the label-led rows line up in label and box columns and flow into more columns as
// the container widens. Each box is as wide as what it holds. Grids, tabs, group
// boxes and memos take whole rows. A tab page without a grid scrolls when it does not
// fit. Tab moves through the boxes in the order they are placed. `owner` is the
// container's control, null for the form's body.
void arrangeChildren(QWidget* container, QBoxLayout* layout, const platform::Control* owner,
                     const std::vector<FormChild>& children);

}  // namespace gui
