#include "gui/form_view.h"

#include <QAction>
#include <cstdlib>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/edit_mask.h"
#include "gui/form_layout.h"
#include "gui/icons.h"
#include "gui/recordset_model.h"
#include "platform/handler.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

bool isEditBox(ControlKind k) {
    return k == ControlKind::Edit || k == ControlKind::MaskEdit || k == ControlKind::DBEdit ||
           k == ControlKind::DBDateEdit;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The host's captions mark the accelerator with "&", as Qt does.
QString caption(const Control& c) { return qs(c.caption.empty() ? c.name : c.caption); }

// Long toolbar captions go on two lines, so the screen's buttons fit the bar.
QString toolCaption(const Control& c) {
    QString t = caption(c);
    if (t.size() <= 14) return t;
    int best = -1;
    for (int i = 0; i < t.size(); ++i)
        if (t[i] == ' ' && (best < 0 || std::abs(i - t.size() / 2) < std::abs(best - t.size() / 2))) best = i;
    if (best > 0) t[best] = '\n';
    return t;
}

// The colour a rule gave the box wins; otherwise boxes that take no input look
// like the button face and boxes that must be filled stand out.
void applyColor(QWidget* w, platform::Color color, bool inert, bool required, const QString& extra = {}) {
    QString css = extra;
    switch (color) {
        case platform::Color::Default:
            if (inert) css += "background-color: #ECE9D8;";
            else if (required) css += "background-color: #FFF3C4;";
            break;
        case platform::Color::BtnFace: css += "background-color: #ECE9D8;"; break;
        case platform::Color::InfoBk: css += "background-color: #FFFFE1;"; break;
        case platform::Color::Window: css += "background-color: #FFFFFF;"; break;
    }
    if (w->styleSheet() != css) w->setStyleSheet(css);
}

// Column widths from what the field holds (size, dates, numbers) and the title,
// so no cell has to be read to lay the grid out.
void fitColumns(QTableView* tv, RecordSetModel* model) {
    const QFontMetrics fm(tv->font());
    const int ch = fm.horizontalAdvance('0');
    for (int i = 0; i < model->columnCount(); ++i) {
        const auto& col = model->columns()[i];
        int w = col.width;
        if (w <= 0) {
            int chars = 12;
            if (const auto* f = model->recordSet() ? model->recordSet()->findField(col.field) : nullptr) {
                switch (f->type()) {
                    case core::FieldType::DateTime: chars = 16; break;
                    case core::FieldType::Float:
                    case core::FieldType::Integer: chars = 10; break;
                    case core::FieldType::String: chars = f->size() > 0 ? std::min(f->size(), 36) : 20; break;
                    default: break;
                }
            }
            if (col.imageFor) chars = 3;
            const QString title = model->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
            w = std::max(chars * ch, fm.horizontalAdvance(title)) + 16;
        }
        tv->setColumnWidth(i, w);
    }
}

std::string maskOf(const Control& c, const core::Field* f) {
    if (f && !f->editMask.empty()) return f->editMask;
    return c.mask;
}

// What a box holds as its field would store it: a masked box's blanks and unsaved
// literals dropped.
std::string boxValue(QLineEdit* e, const HostMask& mask) {
    return mask.qtMask.isEmpty() ? e->text().toStdString() : maskedValue(e->displayText(), mask);
}

// The text Field::setText takes for what the box holds. A string field with its own
// mask strips the literals itself, position by position, so it gets the box as shown
// (blanks as spaces); any other field gets the value.
std::string fieldInput(QLineEdit* e, const HostMask& mask, const core::Field& f) {
    if (mask.qtMask.isEmpty() || f.editMask.empty() || f.type() != core::FieldType::String)
        return boxValue(e, mask);
    if (maskedValue(e->displayText(), mask).empty()) return {};
    QString shown = e->displayText();
    shown.replace(mask.blank, QChar(' '));
    return shown.toStdString();
}

std::string keyName(QKeyEvent* ke) {
    switch (ke->key()) {
        case Qt::Key_F9: return "F9";
        case Qt::Key_Return:
        case Qt::Key_Enter: return "Enter";
        case Qt::Key_Escape: return "Escape";
        case Qt::Key_Delete: return "Delete";
        case Qt::Key_Backspace: return "\b";
        default: return ke->text().toStdString();
    }
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
    auto* ds = const_cast<platform::ComponentModel&>(form_.comps).dataSource(c.dataSource);
    if (!ds || !ds->dataSet) return nullptr;
    return ds->dataSet->findField(c.dataField);
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
                auto* m = menuBar_->addMenu(caption(c));
                actions_[name] = m->menuAction();
                widgets_[name] = m;
            } else {
                auto* pm = qobject_cast<QMenu*>(widget(c.parent));
                if (!pm) continue;
                auto* a = pm->addAction(caption(c));
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
        QWidget* nav = create(c, toolBar_);
        widgets_[name] = nav;
        toolBar_->addWidget(nav);
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
        widgets_[name] = w;
        children.push_back({c, w, boundField(c)});
    }
    arrangeChildren(container, layout, form_.comps.find(parentName), children);
}

QWidget* FormView::create(const Control& c, QWidget* parent) {
    const std::string name = c.name;
    switch (c.kind) {
        case ControlKind::PageControl: {
            auto* tw = new QTabWidget(parent);
            for (const auto& tab : form_.comps.tabs(name)) {
                auto* page = new QWidget(tw);
                auto* pl = new QVBoxLayout(page);
                fill(page, pl, tab);
                widgets_[tab] = page;
                tw->addTab(page, caption(form_.comps[tab]));
            }
            connect(tw, &QTabWidget::currentChanged, this, [this, name](int i) {
                if (syncing_) return;
                run([this, name, i] {
                    auto& pc = form_.comps[name];
                    pc.activeTab = i;
                    if (pc.onChange) pc.onChange();
                });
            });
            return tw;
        }
        case ControlKind::Tab: return nullptr;  // built by its page control
        case ControlKind::GroupBox: {
            auto* gb = new QGroupBox(caption(c), parent);
            auto* gl = new QVBoxLayout(gb);
            fill(gb, gl, name);
            return gb;
        }
        case ControlKind::Label: return new QLabel(qs(c.caption), parent);
        case ControlKind::DBText: return new QLabel(parent);
        case ControlKind::Image: {
            auto* l = new QLabel(parent);
            l->setPixmap(iconFor(c.image.empty() ? name : c.image).pixmap(16, 16));
            return l;
        }
        case ControlKind::Navigator: {
            // First, prior, next, last over the data source's set, and the position.
            auto* nav = new QWidget(parent);
            auto* nl = new QHBoxLayout(nav);
            nl->setContentsMargins(0, 0, 0, 0);
            const std::pair<QStyle::StandardPixmap, int> moves[] = {{QStyle::SP_MediaSkipBackward, 0},
                                                                   {QStyle::SP_MediaSeekBackward, 1},
                                                                   {QStyle::SP_MediaSeekForward, 2},
                                                                   {QStyle::SP_MediaSkipForward, 3}};
            for (const auto& [pix, move] : moves) {
                auto* b = new QToolButton(nav);
                b->setIcon(style()->standardIcon(pix));
                b->setAutoRaise(true);
                b->setFocusPolicy(Qt::NoFocus);
                nl->addWidget(b);
                connect(b, &QToolButton::clicked, this, [this, name, move = move] {
                    run([this, name, move] {
                        auto* ds = form_.comps.dataSource(form_.comps[name].dataSource);
                        if (!ds || !ds->dataSet || !ds->dataSet->active()) return;
                        auto& set = *ds->dataSet;
                        if (move == 0) set.first();
                        else if (move == 1) set.prior();
                        else if (move == 2) set.next();
                        else set.last();
                    });
                });
            }
            auto* pos = new QLabel(nav);
            pos->setObjectName("position");
            pos->setMinimumWidth(70);
            nl->addWidget(pos);
            nl->addStretch(1);
            return nav;
        }
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
        case ControlKind::DBEdit:
        case ControlKind::DBDateEdit: {
            auto* e = new QLineEdit(parent);
            e->setObjectName(qs(name));
            e->installEventFilter(this);
            connect(e, &QLineEdit::textEdited, this, [this, name, e](const QString& t) {
                auto& ctl = form_.comps[name];
                if (ctl.dataField.empty()) {
                    const HostMask mask = parseHostMask(ctl.mask);
                    ctl.text = mask.qtMask.isEmpty() ? t.toStdString() : maskedValue(e->displayText(), mask);
                    if (ctl.onChange) run(ctl.onChange);
                } else {
                    noteTyped(name);
                }
            });
            return e;
        }
        case ControlKind::DBComboBox: {
            auto* cb = new QComboBox(parent);
            cb->installEventFilter(this);
            connect(cb, &QComboBox::activated, this, [this, name, cb](int i) {
                run([this, name, cb, i] {
                    auto& ctl = form_.comps[name];
                    ctl.itemIndex = i;
                    ctl.text = cb->itemText(i).toStdString();
                    if (auto* f = boundField(ctl)) {
                        auto& set = f->dataSet();
                        if (set.state() == core::DataSetState::Browse) set.edit();
                        f->setText(ctl.text);
                    }
                    if (ctl.onChange) ctl.onChange();
                });
            });
            return cb;
        }
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            QAbstractButton* b = c.kind == ControlKind::CheckBox ? static_cast<QAbstractButton*>(new QCheckBox(caption(c), parent))
                                                                  : new QRadioButton(caption(c), parent);
            connect(b, &QAbstractButton::clicked, this, [this, name](bool on) {
                run([this, name, on] {
                    auto& ctl = form_.comps[name];
                    ctl.checked = on;
                    if (ctl.onClick) ctl.onClick();
                });
            });
            return b;
        }
        case ControlKind::Button:
        case ControlKind::LookupButton: {
            auto* b = new QPushButton(c.caption.empty() ? QString("...") : caption(c), parent);
            if (c.kind == ControlKind::LookupButton) {
                b->setIcon(iconFor("lookup"));
                if (c.caption.empty()) b->setText(QString());
                b->setFixedWidth(28);
            }
            b->setFocusPolicy(Qt::NoFocus);
            connect(b, &QPushButton::clicked, this, [this, name] {
                run([this, name] {
                    auto& ctl = form_.comps[name];
                    if (ctl.enabled && ctl.onClick) ctl.onClick();
                });
            });
            return b;
        }
        case ControlKind::Grid: {
            auto* tv = new QTableView(parent);
            auto* ds = form_.comps.dataSource(c.dataSource);
            auto* model = new RecordSetModel(ds ? ds->dataSet : nullptr, c.columns, tv);
            tv->setModel(model);
            tv->setSelectionBehavior(QAbstractItemView::SelectRows);
            tv->setSelectionMode(QAbstractItemView::SingleSelection);
            tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
            tv->verticalHeader()->setDefaultSectionSize(22);
            tv->horizontalHeader()->setStretchLastSection(true);
            models_[name] = model;
            fitColumns(tv, model);
            connect(tv->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                    [this, name, model](const QModelIndex& cur, const QModelIndex&) {
                        if (syncing_ || !cur.isValid() || !model->recordSet()) return;
                        run([this, name, model, cur] {
                            auto* set = model->recordSet();
                            if (set->active() && set->recNo() != cur.row() + 1) set->moveTo(cur.row() + 1);
                            form_.comps.setFocus(name);
                        });
                    });
            connect(tv, &QTableView::doubleClicked, this, [this, name](const QModelIndex&) {
                auto& ctl = form_.comps[name];
                if (ctl.onDblClick) run(ctl.onDblClick);
            });
            return tv;
        }
        case ControlKind::Memo: {
            auto* m = new QPlainTextEdit(parent);
            m->setMaximumHeight(80);
            m->installEventFilter(this);
            return m;
        }
        case ControlKind::Form:
        case ControlKind::ToolButton:
        case ControlKind::MenuItem: return nullptr;
    }
    return nullptr;
}

void FormView::commitEdit(const std::string& control) {
    const Control* c = form_.comps.find(control);
    if (!c || !isEditBox(c->kind)) return;
    auto* e = qobject_cast<QLineEdit*>(widget(control));
    core::Field* f = boundField(*c);
    if (!e || !f) return;
    const HostMask mask = parseHostMask(maskOf(*c, f));
    // Compared as the field holds it, so leaving an untouched box writes nothing.
    if (boxValue(e, mask) != f->text()) {
        auto& set = f->dataSet();
        if (!set.active()) return;
        if (set.state() == core::DataSetState::Browse) set.edit();
        f->setText(fieldInput(e, mask, *f));
    }
    // Stored: the box shows its field again.
    typing_.erase(control);
    form_.comps[control].text.clear();
}

void FormView::noteTyped(const std::string& control) {
    const Control* c = form_.comps.find(control);
    core::Field* f = c ? boundField(*c) : nullptr;
    if (f && !typing_.count(control)) typing_[control] = f->text();
}

bool FormView::run(const std::function<void()>& handler) { return run(handler, true); }

bool FormView::run(const std::function<void()>& handler, bool commitFocused) {
    // A click must see what is typed in the focused box, as the host's data-aware boxes do.
    const std::string focused = commitFocused ? form_.comps.activeControl() : std::string();
    const bool ok = platform::runHandler([&] {
        if (!focused.empty()) commitEdit(focused);
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
    std::string name;
    for (const auto& [n, w] : widgets_)
        if (w == obj) {
            name = n;
            break;
        }
    if (name.empty()) return QWidget::eventFilter(obj, ev);
    if (ev->type() == QEvent::FocusIn) {
        if (form_.comps.activeControl() != name) {
            run([this, name] {
                form_.comps.setFocus(name);
                auto& ctl = form_.comps[name];
                if (ctl.onEnter) ctl.onEnter();
            });
        }
    } else if (ev->type() == QEvent::FocusOut) {
        auto* fe = static_cast<QFocusEvent*>(ev);
        // Leaving the window (a dialog, another program) is not leaving the box, and a
        // box the screen never saw entered is not left either.
        if (fe->reason() != Qt::ActiveWindowFocusReason && fe->reason() != Qt::PopupFocusReason &&
            form_.comps.activeControl() == name) {
            // The focus is on its way to another widget: the sync must not pull it back,
            // unless the exit is refused.
            leaving_ = name;
            const bool ok = run([this, name] {
                commitEdit(name);
                auto& ctl = form_.comps[name];
                if (ctl.onExit) ctl.onExit();
            });
            leaving_.clear();
            if (!ok && form_.comps.activeControl() == name)
                if (QWidget* w = widget(name); w && w->isVisible() && w->isEnabled()) w->setFocus();
        }
    } else if (ev->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(ev);
        auto& ctl = form_.comps[name];
        if (!ctl.onKeyPress && keyName(ke) == "Enter") {
            run([] {});  // stores the focused box
        } else if (ctl.onKeyPress) {
            std::string key = keyName(ke);
            if (!key.empty()) {
                const std::string before = key;
                auto* e = qobject_cast<QLineEdit*>(obj);
                // The key rules read what the box shows now from the control; a key
                // stores nothing, only Enter and leaving the box do.
                if (core::Field* f = boundField(ctl); e && f)
                    ctl.text = boxValue(e, parseHostMask(maskOf(ctl, f)));
                run([&] { ctl.onKeyPress(key); }, before == "Enter");
                if (key.empty()) return true;  // swallowed by the screen's rule
                if (key != before) {
                    if (e && key.size() >= 1 && key != "F9" && key != "Enter") {
                        e->insert(QString::fromStdString(key));
                        noteTyped(name);
                        return true;
                    }
                }
            }
        }
    }
    return QWidget::eventFilter(obj, ev);
}

void FormView::syncControl(const Control& c, QWidget* w) {
    w->setEnabled(c.enabled);
    if (c.kind != ControlKind::Image && c.kind != ControlKind::Tab) w->setVisible(c.visible);
    if (c.kind == ControlKind::Image) w->setVisible(c.visible && c.parent != "");
    switch (c.kind) {
        case ControlKind::Label: static_cast<QLabel*>(w)->setText(qs(c.caption)); break;
        case ControlKind::DBText: {
            auto* f = boundField(c);
            static_cast<QLabel*>(w)->setText(f ? qs(f->displayText()) : qs(c.caption));
            break;
        }
        case ControlKind::Navigator: {
            auto* ds = form_.comps.dataSource(c.dataSource);
            auto* l = w->findChild<QLabel*>("position");
            if (ds && ds->dataSet && ds->dataSet->active())
                l->setText(QString("%1 / %2").arg(ds->dataSet->recNo()).arg(ds->dataSet->recordCount()));
            else
                l->setText(QString());
            break;
        }
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
        case ControlKind::DBEdit:
        case ControlKind::DBDateEdit: {
            auto* e = static_cast<QLineEdit*>(w);
            core::Field* f = boundField(c);
            const bool focused = form_.comps.activeControl() == c.name;
            const HostMask mask = parseHostMask(maskOf(c, f));
            if (e->inputMask() != mask.qtMask) e->setInputMask(mask.qtMask);
            // A masked box always edits through its mask; others show the display format
            // until they get the focus.
            const std::string text = f ? (focused || !mask.qtMask.isEmpty() ? f->text() : f->displayText()) : c.text;
            // Text typed and not stored yet stays while the box has the focus, unless the
            // logic has written the field since.
            if (auto t = typing_.find(c.name);
                t != typing_.end() && (!focused || !f || f->text() != t->second)) {
                typing_.erase(t);
                form_.comps[c.name].text.clear();
            }
            if (!typing_.count(c.name) && boxValue(e, mask) != text) e->setText(qs(text));
            const QLineEdit::EchoMode echo = c.passwordChar ? QLineEdit::Password : QLineEdit::Normal;
            if (e->echoMode() != echo) e->setEchoMode(echo);
            const bool ro = c.readOnly || (f && (f->readOnly || f->calculated));
            e->setReadOnly(ro);
            if (mask.qtMask.isEmpty()) {
                if (c.maxLength > 0) e->setMaxLength(c.maxLength);
                else if (f && f->size() > 0) e->setMaxLength(f->size());
            }
            const QString pwd =
                c.passwordChar ? QString("lineedit-password-character: %1;").arg(int(uchar(c.passwordChar)))
                               : QString();
            applyColor(e, c.color, ro || !c.enabled, f && f->def.required, pwd);
            break;
        }
        case ControlKind::Memo: {
            auto* m = static_cast<QPlainTextEdit*>(w);
            core::Field* f = boundField(c);
            const QString t = qs(f ? f->text() : c.text);
            if (m->toPlainText() != t) m->setPlainText(t);
            m->setReadOnly(c.readOnly);
            break;
        }
        case ControlKind::DBComboBox: {
            auto* cb = static_cast<QComboBox*>(w);
            if (cb->count() != static_cast<int>(c.items.size())) {
                cb->clear();
                for (const auto& i : c.items) cb->addItem(qs(i));
            }
            core::Field* f = boundField(c);
            const QString t = qs(f ? f->displayText() : c.text);
            const int idx = cb->findText(t);
            cb->setCurrentIndex(idx >= 0 ? idx : c.itemIndex);
            break;
        }
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            auto* b = static_cast<QAbstractButton*>(w);
            b->setText(caption(c));
            b->setChecked(c.checked);
            break;
        }
        case ControlKind::Button:
        case ControlKind::LookupButton:
            if (!c.caption.empty()) static_cast<QPushButton*>(w)->setText(caption(c));
            break;
        case ControlKind::GroupBox: static_cast<QGroupBox*>(w)->setTitle(qs(c.caption)); break;
        case ControlKind::PageControl: {
            auto* tw = static_cast<QTabWidget*>(w);
            const auto tabs = form_.comps.tabs(c.name);
            for (int i = 0; i < static_cast<int>(tabs.size()) && i < tw->count(); ++i) {
                const auto& t = form_.comps[tabs[i]];
                tw->setTabEnabled(i, t.enabled);
                tw->setTabVisible(i, t.visible);
                tw->setTabText(i, caption(t));
            }
            if (c.activeTab >= 0 && c.activeTab < tw->count()) tw->setCurrentIndex(c.activeTab);
            break;
        }
        case ControlKind::Grid: {
            auto* tv = static_cast<QTableView*>(w);
            auto* model = models_[c.name];
            if (model->columns().size() != c.columns.size() && !c.columns.empty()) {
                model->setColumns(c.columns);
                fitColumns(tv, model);
            }
            model->refresh();
            auto* set = model->recordSet();
            if (set && set->active() && set->recNo() > 0) {
                const int row = set->recNo() - 1;
                if (tv->currentIndex().row() != row)
                    tv->setCurrentIndex(model->index(row, std::max(0, tv->currentIndex().column())));
            }
            break;
        }
        default: break;
    }
}

void FormView::sync() {
    syncing_ = true;
    setWindowTitle(qs(form_.caption));
    for (const auto& [name, a] : actions_) {
        const Control& c = form_.comps[name];
        a->setEnabled(c.enabled);
        a->setVisible(c.visible);
        a->setText(c.kind == ControlKind::ToolButton ? toolCaption(c) : caption(c));
    }
    for (const auto& [name, w] : widgets_) {
        const Control* c = form_.comps.find(name);
        if (!c || c->kind == ControlKind::MenuItem) continue;
        if (c->kind == ControlKind::Tab) continue;
        syncControl(*c, w);
    }
    const std::string focus = form_.comps.activeControl();
    if (QWidget* fw = widget(focus);
        fw && focus != leaving_ && fw->isVisible() && fw->isEnabled() && !fw->hasFocus())
        fw->setFocus();
    syncing_ = false;
}

}  // namespace gui
