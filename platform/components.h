#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/recordset.h"
#include "core/signal.h"

namespace platform {

enum class ControlKind {
    Form, PageControl, Tab, GroupBox, Label, Edit, MaskEdit, DBEdit, DBDateEdit, DBComboBox, CheckBox,
    RadioButton, Button, ToolButton, LookupButton, MenuItem, Grid, Memo, DBText, Image, Navigator
};

enum class Color { Default, BtnFace, InfoBk, Window };
enum class Alignment { Default, Left, Center, Right };

// Virtual key codes, as the host numbers them, so the screen rules read like the host's.
namespace vk {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Escape = 0x1B, Space = 0x20;
constexpr int Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;  // Prior/Next: PageUp/PageDown
constexpr int Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E;
constexpr int D0 = 0x30;       // main keyboard digits D0 + n; letters are their upper-case code
constexpr int Numpad0 = 0x60;  // keypad digits Numpad0 + n
constexpr int F1 = 0x70, F9 = 0x78;
}  // namespace vk

// One key as a handler sees it. A key-down handler reads the code and the modifiers;
// a key-press handler reads the character it types ("\r" Enter, "\b" Backspace,
// "\x1b" Escape). A handler may change the key, or clear it to swallow it.
struct Key {
    int code = 0;
    std::string text;
    bool alt = false, ctrl = false, shift = false;

    static Key typed(std::string text) {
        Key k;
        k.text = std::move(text);
        if (k.text.size() == 1) {
            const unsigned char c = static_cast<unsigned char>(k.text[0]);
            k.code = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
        }
        return k;
    }
    static Key named(int code, bool alt = false, bool ctrl = false, bool shift = false) {
        Key k;
        k.code = code;
        k.alt = alt;
        k.ctrl = ctrl;
        k.shift = shift;
        if (code == vk::Return) k.text = "\r";
        else if (code == vk::Back) k.text = "\b";
        else if (code == vk::Escape) k.text = "\x1b";
        return k;
    }
    void clear() {
        code = 0;
        text.clear();
    }
    bool empty() const { return code == 0 && text.empty(); }
    bool is(int c) const { return code == c; }
    // A digit from the main keyboard or the keypad.
    bool isDigit() const { return (code >= vk::D0 && code <= vk::D0 + 9) || (code >= vk::Numpad0 && code <= vk::Numpad0 + 9); }
    // A character that goes into the box (Backspace included), as opposed to Enter or Escape.
    bool typesText() const {
        return !text.empty() && text != "\r" && text != "\x1b" && text != "\t";
    }
};

struct GridColumn;

// What a column's draw hook sees of one cell and what it decides to paint. It starts
// as the cell's own display text; the hook may read the whole row, change the text,
// or paint an image instead.
struct CellDraw {
    CellDraw(const core::RecordSet& s, int r, const GridColumn& c, bool f, bool e, std::string t)
        : set(s), row(r), column(c), focused(f), editing(e), text(std::move(t)) {}
    const core::RecordSet& set;
    int row;  // 0-based among the visible rows
    const GridColumn& column;
    bool focused;  // the grid's current cell
    bool editing;  // ... with its editor open
    std::string text;
    std::string image;  // an image name ("imgOK") painted in place of the text
    Alignment imageAlignment = Alignment::Center;

    core::Value value(const std::string& field) const { return set.valueAt(row, field); }
    std::string displayText(const std::string& field) const { return set.displayTextAt(row, field); }
};

struct GridColumn {
    GridColumn() = default;
    GridColumn(std::string f, std::string t = {}) : field(std::move(f)), title(std::move(t)) {}  // NOLINT: {"FIELD", "Title"} lists read naturally
    std::string field;
    std::string title;
    bool visible = true;
    bool readOnly = false;
    bool button = false;                // an ellipsis button in the cell
    std::vector<std::string> pickList;  // the cell edits as a list of these
    Alignment alignment = Alignment::Default;
    int width = 0;
    // Paints the cell from its row; unset paints the display text.
    std::function<void(CellDraw&)> onDraw;
};

// Binds views to a record set, as the host's data source does. It raises a state
// change whenever its set changes state and whenever it is pointed at another set,
// and a data change whenever its set's data, row or state changes.
class DataSource {
public:
    explicit DataSource(std::string name, core::RecordSet* set = nullptr);
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const std::string name;
    core::RecordSet* dataSet() const { return set_; }
    void setDataSet(core::RecordSet* set);
    core::DataSetState state() const { return set_ ? set_->state() : core::DataSetState::Inactive; }

    core::Signal<DataSource&> onStateChange;
    core::Signal<DataSource&> onDataChange;

private:
    void follow();
    core::RecordSet* set_ = nullptr;
    core::DataSetState seen_ = core::DataSetState::Inactive;
    core::ScopedConnection link_;
};

// One named control with what the screen rules change. The logic writes it, the
// Qt views render it, the tests assert on it.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string parent;  // containing control (tab, group box, page control)
    std::string caption;
    std::string text;  // unbound edits and masked edits; a grid's open editor
    int selStart = 0, selLength = 0;  // the selection in the text, as the key rules see it
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
    int selectedColumn = -1;  // grids: index in columns of the current cell
    bool editing = true;      // grids: cells edit in place (off: the grid only browses)
    int activeTab = -1;  // page controls: index among their tabs
    std::string image;   // icon name for buttons and images
    // Events the views raise; the screens set the ones they handle.
    std::function<void()> onClick, onEnter, onExit, onChange, onDblClick;
    std::function<void(Key& key)> onKeyDown, onKeyPress;
    // Grids: the current column was entered or is being left (a refusal keeps the
    // cell), the ellipsis button was clicked, a cell was clicked.
    std::function<void()> onColEnter, onColExit, onEditButtonClick;
    std::function<void(const std::string& field)> onCellClick;
    // Page controls: the active tab is about to be left by the user's choice; a
    // handler that throws keeps it (the exception goes on to the caller).
    std::function<void()> onChanging;

    // Grids: the column of that field, or null.
    GridColumn* column(const std::string& field);
    const GridColumn* column(const std::string& field) const;
    std::string selectedField() const;  // a grid's current column; its first visible one at first
};

// Raises a key on a control as the host does: key down with its code and modifiers,
// then, unless a handler swallowed it, key press with the character it types.
// Returns false when the key was swallowed.
bool raiseKey(Control& c, Key& key);

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
    // The program shows a tab: no onChanging, no onChange, as the host's own
    // assignment of the active page.
    void setActiveTab(const std::string& pageControl, const std::string& tab);
    // The user picks a tab (a click on it, a menu item): the page control's
    // onChanging may refuse by throwing, and the tab stays; otherwise the tab becomes
    // active and onChange runs. Picking the active tab does nothing.
    void selectTab(const std::string& pageControl, const std::string& tab);

    // Data sources by name. Adding one that exists points it at the set.
    DataSource& addDataSource(const std::string& name, core::RecordSet* set);
    DataSource* dataSource(const std::string& name);
    const DataSource* dataSource(const std::string& name) const;

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
