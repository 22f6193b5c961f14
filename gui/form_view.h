#pragma once
#include <QWidget>
#include <map>
#include <string>

#include "platform/form.h"

class QMenuBar;
class QToolBar;
class QVBoxLayout;
class QBoxLayout;

namespace gui {

class RecordSetModel;

// Renders a form's component model as Qt widgets and feeds the user's actions back
// to its handlers. After every handler the whole form is synchronised from the
// model, so the logic never talks to a widget.
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
    // Runs a handler of the form as the host's event loop does, then syncs.
    bool run(const std::function<void()>& handler);

signals:
    // After every handler the view ran (a modal dialog checks its result here).
    void handled();

private:
    void build();
    QWidget* create(const platform::Control& c, QWidget* parent);
    void fill(QWidget* container, QBoxLayout* layout, const std::string& parentName);
    void syncControl(const platform::Control& c, QWidget* w);
    bool run(const std::function<void()>& handler, bool commitFocused);
    void commitEdit(const std::string& control);  // bound box text -> field
    void noteTyped(const std::string& control);   // a bound box holds text not stored yet
    core::Field* boundField(const platform::Control& c) const;
    bool eventFilter(QObject* obj, QEvent* ev) override;

    platform::Form& form_;
    std::map<std::string, QWidget*> widgets_;
    std::map<std::string, RecordSetModel*> models_;
    std::map<std::string, QAction*> actions_;
    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    bool syncing_ = false;
    // Bound boxes typed into and not stored yet, with their field's text when typing began.
    std::map<std::string, std::string> typing_;
    std::string leaving_;  // the box whose exit is running while the focus moves on
};

}  // namespace gui
