#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/recordset.h"

namespace platform {

enum class ControlKind {
    Form, PageControl, Tab, GroupBox, Label, Edit, MaskEdit, DBEdit, DBDateEdit, DBComboBox, CheckBox,
    RadioButton, Button, ToolButton, LookupButton, MenuItem, Grid, Memo, DBText, Image, Navigator
};

enum class Color { Default, BtnFace, InfoBk, Window };

struct GridColumn {
    std::string field;
    std::string title;
    bool visible = true;
    bool readOnly = false;
    bool button = false;  // an ellipsis button in the cell
    int width = 0;
    // A status image painted in place of the cell's text: the image's name for the
    // cell's value ("imgOK"), or empty to paint the text as usual.
    std::function<std::string(const core::Value&)> imageFor;
};

// Binds a view to a record set, as the host's data source does.
struct DataSource {
    std::string name;
    core::RecordSet* dataSet = nullptr;
    core::DataSetState state() const { return dataSet ? dataSet->state() : core::DataSetState::Inactive; }
};

// One named control with what the screen rules change. The logic writes it, the
// Qt views render it, the tests assert on it.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string parent;  // containing control (tab, group box, page control)
    std::string caption;
    std::string text;  // unbound edits and masked edits
    std::string hint;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    bool checked = false;
    Color color = Color::Default;
    std::string mask;   // edit mask of an unbound masked edit
    int maxLength = 0;  // characters the box takes; 0 = the field's size
    char passwordChar = 0;  // edits: shown in place of each typed character; 0 shows the text
    // Bound controls.
    std::string dataSource;
    std::string dataField;
    // Lists (combo boxes) and grids.
    std::vector<std::string> items;
    int itemIndex = -1;
    std::vector<GridColumn> columns;
    int selectedColumn = -1;
    int activeTab = -1;  // page controls: index among their tabs
    std::string image;   // icon name for buttons and images
    // Events the views raise; the screens set the ones they handle. A key handler
    // may change the key or set it empty to swallow it ("F9", "Enter" for named keys).
    std::function<void()> onClick, onEnter, onExit, onChange, onDblClick;
    std::function<void(std::string& key)> onKeyPress;
};

// Every named control of a screen, in declaration order.
class ComponentModel {
public:
    Control& add(const std::string& name, ControlKind kind, const std::string& parent = {},
                 const std::string& caption = {});
    Control& operator[](const std::string& name);  // throws core::Error when absent
    const Control& operator[](const std::string& name) const;
    Control* find(const std::string& name);
    const Control* find(const std::string& name) const;
    bool has(const std::string& name) const { return find(name) != nullptr; }
    const std::vector<std::string>& names() const { return order_; }
    std::vector<std::string> children(const std::string& parent) const;

    // The screen's active control (the one with the focus).
    const std::string& activeControl() const { return focus_; }
    void setFocus(const std::string& name);  // throws core::Error when absent

    // Tabs of a page control, in order; the active one by name.
    std::vector<std::string> tabs(const std::string& pageControl) const;
    std::string activeTab(const std::string& pageControl) const;
    void setActiveTab(const std::string& pageControl, const std::string& tab);

    // Data sources by name.
    DataSource& addDataSource(const std::string& name, core::RecordSet* set);
    DataSource* dataSource(const std::string& name);

    // Called after a control's focus or active tab changes (the views follow).
    std::function<void(const std::string& control)> onFocusChange;
    std::function<void(const std::string& pageControl)> onTabChange;

private:
    std::map<std::string, std::unique_ptr<Control>> controls_;
    std::vector<std::string> order_;
    std::map<std::string, std::unique_ptr<DataSource>> sources_;
    std::string focus_;
};

}  // namespace platform
