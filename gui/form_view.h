#pragma once
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "platform/form.h"

class QMenuBar;
class QToolBar;
class QBoxLayout;
class QKeyEvent;

namespace gui {

// Renders a form's component model as Qt widgets and feeds the user's actions back
// to its handlers. Each kind of control has its binder (gui/binders/) that makes its
// widget and repaints it from the model; the view keeps what is common: the toolbar
// and menus, focus and keys, running a handler and repainting everything after it,
// so the logic never talks to a widget.
class FormView : public QWidget {
    Q_OBJECT
public:
    explicit FormView(platform::Form& form, QWidget* parent = nullptr);
    ~FormView() override;

    platform::Form& form() { return form_; }
    QWidget* widget(const std::string& control) const;
    QMenuBar* menuBar() const { return menuBar_; }
    // Model -> widgets: enabled, visible, texts, lists, tabs, grids, focus.
    void sync();
    // Runs a handler of the form as the host's event loop does, then syncs. A click
    // first stores what is typed in the focused box (commitFocused).
    bool run(const std::function<void()>& handler);
    bool run(const std::function<void()>& handler, bool commitFocused);

    // --- for the binders ---
    core::Field* boundField(const platform::Control& c) const;
    bool syncing() const { return syncing_; }
    // Makes and lays out the widgets of a container's children.
    void fill(QWidget* container, QBoxLayout* layout, const std::string& parentName);
    // The widget shows that control (a tab's page, a control made by its binder).
    void adopt(const std::string& control, QWidget* w);
    // Focus and key events of the widget reach that control's handlers: the control's
    // own widget, or one inside it (a grid's cell editor) while it lives.
    void watch(QWidget* w, const std::string& control);
    // Bound boxes typed into and not stored yet.
    bool typing(const std::string& control) const { return typing_.count(control) != 0; }
    const std::string* typedFrom(const std::string& control) const;
    void noteTyped(const std::string& control);
    void forgetTyped(const std::string& control);

signals:
    // After every handler the view ran (a modal dialog checks its result here).
    void handled();

private:
    void build();
    QWidget* create(const platform::Control& c, QWidget* parent);
    bool eventFilter(QObject* obj, QEvent* ev) override;
    bool keyPressed(const std::string& control, QObject* obj, QKeyEvent* ke);

    platform::Form& form_;
    std::map<std::string, QWidget*> widgets_;
    std::map<const QObject*, std::string> owners_;  // watched widget -> its control
    std::map<std::string, QAction*> actions_;
    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    bool syncing_ = false;
    // Bound boxes typed into and not stored yet, with their field's text when typing began.
    std::map<std::string, std::string> typing_;
    std::string leaving_;  // the box whose exit is running while the focus moves on
    std::string entered_;  // the control whose enter ran last and that was not left since
};

}  // namespace gui
