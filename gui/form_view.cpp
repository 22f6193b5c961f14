#include "gui/form_view.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cstdlib>

#include "gui/binders/binder.h"
#include "gui/binders/box_binder.h"
#include "gui/form_layout.h"
#include "gui/icons.h"
#include "platform/handler.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

// Long toolbar captions go on two lines, so the screen's buttons fit the bar.
QString toolCaption(const Control& c) {
    QString t = captionOf(c);
    if (t.size() <= 14) return t;
    int best = -1;
    for (int i = 0; i < t.size(); ++i)
        if (t[i] == ' ' && (best < 0 || std::abs(i - t.size() / 2) < std::abs(best - t.size() / 2))) best = i;
    if (best > 0) t[best] = '\n';
    return t;
}

// A Qt key as the screen rules see it: the host's key code, the character it types
// and the modifiers. Keypad digits keep a code of their own.
platform::Key toKey(const QKeyEvent* ke) {
    namespace vk = platform::vk;
    const int k = ke->key();
    const auto mods = ke->modifiers();
    int code = 0;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) code = vk::F1 + (k - Qt::Key_F1);
    else if (k >= Qt::Key_0 && k <= Qt::Key_9) code = (mods & Qt::KeypadModifier ? vk::Numpad0 : vk::D0) + (k - Qt::Key_0);
    else if (k >= Qt::Key_A && k <= Qt::Key_Z) code = 'A' + (k - Qt::Key_A);
    else {
        switch (k) {
            case Qt::Key_Return:
            case Qt::Key_Enter: code = vk::Return; break;
            case Qt::Key_Escape: code = vk::Escape; break;
            case Qt::Key_Backspace: code = vk::Back; break;
            case Qt::Key_Tab:
            case Qt::Key_Backtab: code = vk::Tab; break;
            case Qt::Key_Space: code = vk::Space; break;
            case Qt::Key_PageUp: code = vk::Prior; break;
            case Qt::Key_PageDown: code = vk::Next; break;
            case Qt::Key_Home: code = vk::Home; break;
            case Qt::Key_End: code = vk::End; break;
            case Qt::Key_Left: code = vk::Left; break;
            case Qt::Key_Up: code = vk::Up; break;
            case Qt::Key_Right: code = vk::Right; break;
            case Qt::Key_Down: code = vk::Down; break;
            case Qt::Key_Insert: code = vk::Insert; break;
            case Qt::Key_Delete: code = vk::Delete; break;
            default: break;
        }
    }
    platform::Key key = platform::Key::named(code, mods & Qt::AltModifier, mods & Qt::ControlModifier,
                                             mods & Qt::ShiftModifier);
    if (key.text.empty() && code != vk::Tab && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        const QString t = ke->text();
        if (!t.isEmpty() && t[0].isPrint()) key.text = t.toStdString();
    }
    return key;
}

}  // namespace

FormView::FormView(platform::Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    setWindowTitle(qs(form.caption));
    build();
    sync();
}

FormView::~FormView() {
    // The children outlive this body; none of their last signals may reach a form
    // that may already be gone.
    syncing_ = true;
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

QWidget* FormView::widget(const std::string& control) const {
    auto it = widgets_.find(control);
    return it == widgets_.end() ? nullptr : it->second;
}

core::Field* FormView::boundField(const Control& c) const {
    if (c.dataSource.empty() || c.dataField.empty()) return nullptr;
    const auto* ds = form_.comps.dataSource(c.dataSource);
    if (!ds || !ds->dataSet()) return nullptr;
    return ds->dataSet()->findField(c.dataField);
}

void FormView::adopt(const std::string& control, QWidget* w) { widgets_[control] = w; }

void FormView::watch(QWidget* w, const std::string& control) {
    owners_[w] = control;
    w->installEventFilter(this);
    connect(w, &QObject::destroyed, this, [this](QObject* o) { owners_.erase(o); });
}

const std::string* FormView::typedFrom(const std::string& control) const {
    auto it = typing_.find(control);
    return it == typing_.end() ? nullptr : &it->second;
}

void FormView::noteTyped(const std::string& control) {
    const Control* c = form_.comps.find(control);
    core::Field* f = c ? boundField(*c) : nullptr;
    if (f && !typing_.count(control)) typing_[control] = f->text();
}

void FormView::forgetTyped(const std::string& control) {
    typing_.erase(control);
    if (auto* c = form_.comps.find(control); c && !c->dataField.empty()) c->text.clear();
}

void FormView::build() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    menuBar_ = new QMenuBar(this);
    toolBar_ = new QToolBar(this);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(20, 20));
    outer->setMenuBar(menuBar_);
    outer->addWidget(toolBar_);

    // Menus and toolbar first: they live outside the form's body.
    for (const auto& name : form_.comps.names()) {
        const Control& c = form_.comps[name];
        if (c.kind == ControlKind::ToolButton) {
            auto* a = toolBar_->addAction(iconFor(c.image.empty() ? c.name : c.image), toolCaption(c));
            a->setToolTip(qs(c.hint.empty() ? c.caption : c.hint));
            connect(a, &QAction::triggered, this, [this, name] {
                run([this, name] {
                    auto& ctl = form_.comps[name];
                    if (ctl.enabled && ctl.onClick) ctl.onClick();
                });
            });
            actions_[name] = a;
        } else if (c.kind == ControlKind::MenuItem) {
            const Control* parent = form_.comps.find(c.parent);
            if (c.parent.empty() || !parent || parent->kind != ControlKind::MenuItem) {
                auto* m = menuBar_->addMenu(captionOf(c));
                actions_[name] = m->menuAction();
                widgets_[name] = m;
            } else {
                auto* pm = qobject_cast<QMenu*>(widget(c.parent));
                if (!pm) continue;
                auto* a = pm->addAction(captionOf(c));
                connect(a, &QAction::triggered, this, [this, name] {
                    run([this, name] {
                        auto& ctl = form_.comps[name];
                        if (ctl.enabled && ctl.onClick) ctl.onClick();
                    });
                });
                actions_[name] = a;
            }
        }
    }
    // The screen's navigator sits at the end of the toolbar, as in the host.
    for (const auto& name : form_.comps.children("")) {
        const Control& c = form_.comps[name];
        if (c.kind != ControlKind::Navigator) continue;
        toolBar_->addSeparator();
        toolBar_->addWidget(create(c, toolBar_));
    }
    auto* body = new QWidget(this);
    auto* bl = new QVBoxLayout(body);
    bl->setContentsMargins(0, 0, 0, 0);
    fill(body, bl, "");
    outer->addWidget(body, 1);
}

void FormView::fill(QWidget* container, QBoxLayout* layout, const std::string& parentName) {
    std::vector<FormChild> children;
    for (const auto& name : form_.comps.children(parentName)) {
        const Control& c = form_.comps[name];
        if (c.kind == ControlKind::ToolButton || c.kind == ControlKind::MenuItem) continue;
        if (c.kind == ControlKind::Navigator && parentName.empty()) continue;  // in the toolbar
        QWidget* w = create(c, container);
        if (!w) continue;
        children.push_back({c, w, boundField(c)});
    }
    arrangeChildren(container, layout, form_.comps.find(parentName), children);
}

QWidget* FormView::create(const Control& c, QWidget* parent) {
    const ControlBinder* binder = binderFor(c.kind);
    QWidget* w = binder ? binder->create(*this, c, parent) : nullptr;
    if (w) widgets_[c.name] = w;
    return w;
}

bool FormView::run(const std::function<void()>& handler) { return run(handler, true); }

bool FormView::run(const std::function<void()>& handler, bool commitFocused) {
    // A click must see what is typed in the focused box, as the host's data-aware boxes do.
    const std::string focused = commitFocused ? form_.comps.activeControl() : std::string();
    const bool ok = platform::runHandler([&] {
        if (!focused.empty()) commitBox(*this, focused);
        handler();
    });
    sync();
    emit handled();
    return ok;
}

bool FormView::eventFilter(QObject* obj, QEvent* ev) {
    // An empty masked box is typed from its first position, however it got the focus
    // (a click places the cursor after this event, hence the deferral).
    if (auto* e = qobject_cast<QLineEdit*>(obj);
        e && ev->type() == QEvent::FocusIn && !e->inputMask().isEmpty()) {
        QTimer::singleShot(0, e, [e, blank = e->inputMask().back()] {
            for (QChar ch : e->displayText())
                if (ch.isLetterOrNumber() && ch != blank) return;
            e->setCursorPosition(0);
        });
    }
    if (syncing_) return QWidget::eventFilter(obj, ev);
    const auto owner = owners_.find(obj);
    if (owner == owners_.end()) return QWidget::eventFilter(obj, ev);
    const std::string name = owner->second;
    if (ev->type() == QEvent::FocusIn) {
        // A control the logic focused itself (a key moving to another grid) is entered
        // too when the focus arrives, as the host's SetFocus enters it.
        if (form_.comps.activeControl() != name || entered_ != name) {
            entered_ = name;
            run([this, name] {
                form_.comps.setFocus(name);
                auto& ctl = form_.comps[name];
                if (ctl.onEnter) ctl.onEnter();
            });
        }
    } else if (ev->type() == QEvent::FocusOut) {
        auto* fe = static_cast<QFocusEvent*>(ev);
        // Leaving the window (a dialog, another program) is not leaving the control, a
        // control the screen never saw entered is not left either, and neither is a
        // grid whose focus moves between the grid and its cell editor.
        QWidget* own = widget(name);
        QWidget* next = QApplication::focusWidget();
        const bool inside = own && next && (next == own || own->isAncestorOf(next));
        if (fe->reason() != Qt::ActiveWindowFocusReason && fe->reason() != Qt::PopupFocusReason && !inside &&
            form_.comps.activeControl() == name) {
            // The focus is on its way to another widget: the sync must not pull it back,
            // unless the exit is refused.
            leaving_ = name;
            const bool ok = run([this, name] {
                commitBox(*this, name);
                auto& ctl = form_.comps[name];
                if (ctl.onExit) ctl.onExit();
            });
            leaving_.clear();
            if (ok) entered_.clear();
            if (!ok && form_.comps.activeControl() == name)
                if (QWidget* w = widget(name); w && w->isVisible() && w->isEnabled()) w->setFocus();
        }
    } else if (ev->type() == QEvent::KeyPress) {
        if (keyPressed(name, obj, static_cast<QKeyEvent*>(ev))) return true;
    }
    return QWidget::eventFilter(obj, ev);
}

// Raises a key on its control; true when a rule swallowed it or typed something else.
bool FormView::keyPressed(const std::string& name, QObject* obj, QKeyEvent* ke) {
    auto& ctl = form_.comps[name];
    platform::Key key = toKey(ke);
    if (key.empty()) return false;
    const bool enter = key.is(platform::vk::Return);
    auto* e = qobject_cast<QLineEdit*>(obj);
    if (ctl.onKeyDown || ctl.onKeyPress) {
        const platform::Key before = key;
        // The key rules read what the box (or the grid's cell editor) shows now from the
        // control; a key stores nothing, only Enter and leaving the box do.
        if (e) {
            ctl.text = ctl.kind == ControlKind::Grid ? e->text().toStdString() : boxText(*this, ctl, e);
            ctl.selStart = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
            ctl.selLength = static_cast<int>(e->selectedText().size());
        } else if (ctl.kind == ControlKind::Grid) {
            // A key on the grid itself opens a fresh editor with it: nothing typed before.
            ctl.text.clear();
            ctl.selStart = ctl.selLength = 0;
        }
        run([&] { platform::raiseKey(ctl, key); }, enter && isEditBox(ctl.kind));
        if (key.empty()) return true;  // swallowed by the screen's rule
        if (e && key.text != before.text && key.typesText()) {
            e->insert(QString::fromStdString(key.text));
            if (isEditBox(ctl.kind)) noteTyped(name);
            return true;
        }
    } else if (enter && isEditBox(ctl.kind)) {
        run([] {});  // stores the focused box
        return false;
    }
    // A character typed on a grid opens the current cell's editor with it, once the
    // rules have seen it (so they see it once, not again in the editor). A grid that
    // only browses keeps Qt's own use of the key (finding a row by its first letters).
    auto* grid = qobject_cast<QAbstractItemView*>(obj);
    if (!grid || !key.typesText() || key.text == "\b" || !grid->currentIndex().isValid() ||
        !(grid->model()->flags(grid->currentIndex()) & Qt::ItemIsEditable))
        return false;
    grid->edit(grid->currentIndex());
    if (auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget()); editor && grid->isAncestorOf(editor)) {
        editor->insert(QString::fromStdString(key.text));
        editor->setModified(true);
    }
    return true;
}

void FormView::sync() {
    syncing_ = true;
    setWindowTitle(qs(form_.caption));
    for (const auto& [name, a] : actions_) {
        const Control& c = form_.comps[name];
        a->setEnabled(c.enabled);
        a->setVisible(c.visible);
        // A menu item shows a tick only while it is checked, as the host's menus do.
        if (c.kind == ControlKind::MenuItem && !qobject_cast<QMenu*>(widget(name))) {
            a->setCheckable(c.checked);
            a->setChecked(c.checked);
        }
        a->setText(c.kind == ControlKind::ToolButton ? toolCaption(c) : captionOf(c));
    }
    for (const auto& [name, w] : widgets_) {
        const Control* c = form_.comps.find(name);
        if (!c || c->kind == ControlKind::MenuItem || c->kind == ControlKind::Tab) continue;
        w->setEnabled(c->enabled);
        if (c->kind != ControlKind::Image) w->setVisible(c->visible);
        else w->setVisible(c->visible && !c->parent.empty());
        const ControlBinder* binder = binderFor(c->kind);
        if (!binder) continue;
        // A view never fails on data: a control it cannot paint keeps its last look,
        // and the others still follow the model.
        try {
            binder->sync(*this, *c, w);
        } catch (const std::exception&) {
        }
    }
    const std::string focus = form_.comps.activeControl();
    bool moved = false;
    if (QWidget* fw = widget(focus); fw && focus != leaving_ && fw->isVisible() && fw->isEnabled() && !fw->hasFocus() &&
                                     !fw->isAncestorOf(QApplication::focusWidget())) {
        fw->setFocus();
        moved = true;
    }
    syncing_ = false;
    // The focus events of a move made here are not the user's; the control the logic
    // focused is entered on the next turn of the loop, as the host's SetFocus enters it.
    if (moved && entered_ != focus)
        QTimer::singleShot(0, this, [this, focus] {
            if (form_.comps.activeControl() != focus || entered_ == focus) return;
            entered_ = focus;
            run(
                [this, focus] {
                    auto& ctl = form_.comps[focus];
                    if (ctl.onEnter) ctl.onEnter();
                },
                false);
        });
}

}  // namespace gui
