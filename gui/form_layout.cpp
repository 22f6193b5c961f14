#include "gui/form_layout.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "core/format.h"
#include "core/recordset.h"
#include "gui/binders/box_binder.h"
#include "platform/components.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

// A box of up to kFixedChars (codes, lots, dates) is always as wide as what it holds.
// A longer one (names, descriptions) gives up width down to kShrunkChars when space is
// short, so that rows can stand side by side, asks for kPreferredChars when a dialog
// sizes itself, and is never wider than kMaxChars: past that its text scrolls.
constexpr int kFixedChars = 20;
constexpr int kShrunkChars = 12;
constexpr int kPreferredChars = 30;
constexpr int kMaxChars = 60;
constexpr int kUnknownChars = 30;                          // a box that does not say what it takes
constexpr int kPasswordChars = 16;                         // what a password box shows says nothing of its length
constexpr const char* kPreferredWidth = "preferredWidth";  // a long box's property

constexpr int kRowSpacing = 6;
constexpr int kBoxSpacing = 4;
constexpr int kLabelGap = 8;
constexpr int kColumnGap = 20;
constexpr int kMaxColumns = 3;  // wider than that a form reads as a table

bool takesWholeRow(ControlKind k) {
    return k == ControlKind::PageControl || k == ControlKind::GroupBox || k == ControlKind::Grid ||
           k == ControlKind::Memo;
}

// A grid or tabs inside: the widget should take the height left over. (Not any item
// view: a combo box's list is one.)
bool holdsList(QWidget* w) {
    return qobject_cast<QTableView*>(w) || qobject_cast<QTabWidget*>(w) || w->findChild<QTableView*>() ||
           w->findChild<QTabWidget*>();
}

// Positions a host edit mask shows ("!99/99/9999;1;_" shows 10): its picture without
// the case and blank-trimming markers, an escaped character counting once.
int maskPositions(const std::string& mask) {
    size_t end = mask.size();
    int seps = 0;
    for (size_t i = mask.size(); i-- > 0;)
        if (mask[i] == ';' && ++seps == 2) {
            end = i;
            break;
        }
    int n = 0;
    for (size_t i = 0; i < end; ++i) {
        const char c = mask[i];
        if (c == '<' || c == '>' || c == '!') continue;
        if (c == '\\') ++i;
        ++n;
    }
    return n;
}

// Characters the box takes: what its mask shows, else the length it allows, else
// what its field holds (a date or number as it is displayed); 0 when nothing says.
int boxChars(const Control& c, const core::Field* f) {
    const std::string mask = maskOf(c, f);
    if (!mask.empty()) return maskPositions(mask);
    if (c.maxLength > 0) return c.maxLength;
    if (!f) return c.passwordChar ? kPasswordChars : 0;
    switch (f->type()) {
        case core::FieldType::String: return f->size();
        case core::FieldType::DateTime: {
            const core::DateTime widest = *core::DateTime::fromCivil(2000, 12, 28, 23, 59, 59);
            return static_cast<int>(core::formatDateTime(f->displayFormat, widest).size());
        }
        case core::FieldType::Float:
            if (f->displayFormat.empty()) return 12;
            return static_cast<int>(core::formatFloat(f->displayFormat, 999999.999).size());
        case core::FieldType::Integer: return 10;
        case core::FieldType::Boolean: return 5;
        default: return 0;
    }
}

void fitBox(QLineEdit* e, int chars) {
    const QFontMetrics fm(e->font());
    // What the box adds around its text, as its own size hint (17 x's) counts it.
    const int frame = std::max(8, e->sizeHint().width() - 17 * fm.horizontalAdvance(QLatin1Char('x')));
    // One character more than it holds, for the cursor after the last one.
    const auto width = [&](int n) { return frame + (n + 1) * fm.horizontalAdvance(QLatin1Char('0')); };
    if (chars <= 0) chars = kUnknownChars;
    if (chars <= kFixedChars) {
        e->setFixedWidth(width(std::max(chars, 2)));
        return;
    }
    e->setMinimumWidth(width(kShrunkChars));
    e->setMaximumWidth(width(std::min(chars, kMaxChars)));
    e->setProperty(kPreferredWidth, width(std::min(chars, kPreferredChars)));
    e->setSizePolicy(QSizePolicy::Expanding, e->sizePolicy().verticalPolicy());
}

// Gives a child the width of what it holds.
void fit(const FormChild& child) {
    const ControlKind k = child.control.kind;
    if (auto* e = qobject_cast<QLineEdit*>(child.widget); e && isEditBox(k)) {
        fitBox(e, boxChars(child.control, child.field));
    } else if (auto* cb = qobject_cast<QComboBox*>(child.widget)) {
        // The items come with the first sync; the box follows them.
        cb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        cb->setMinimumContentsLength(8);
        cb->setSizePolicy(QSizePolicy::Fixed, cb->sizePolicy().verticalPolicy());
    }
}

// A row of boxes that asks for its long boxes at their preferred width, which a line
// edit's own size hint (17 x's) knows nothing of.
class BoxRow : public QHBoxLayout {
public:
    QSize sizeHint() const override {
        QSize s = QHBoxLayout::sizeHint();
        for (int i = 0; i < count(); ++i) {
            QWidget* w = itemAt(i)->widget();
            if (!w || w->isHidden()) continue;
            if (const int want = w->property(kPreferredWidth).toInt(); want > 0)
                s.rwidth() += std::max(0, want - itemAt(i)->sizeHint().width());
        }
        return s;
    }
};

bool growsWithRow(const FormChild& child) {
    return child.widget->sizePolicy().horizontalPolicy() == QSizePolicy::Expanding;
}

// Label-led rows in a label column and a box column, repeated side by side as the
// width allows: the rows run down the first column, then the next. Every row has the
// same height, so the rows of all columns line up; all labels share one width.
class FieldColumns : public QLayout {
public:
    FieldColumns() { setContentsMargins(0, 0, 0, 0); }
    ~FieldColumns() override {
        while (QLayoutItem* item = takeAt(0)) delete item;
    }

    // A row: its label, or null, and the layout of what follows it.
    void addRow(QWidget* label, QLayout* boxes) {
        Row row;
        if (label) {
            addChildWidget(label);
            row.label = new QWidgetItem(label);
        }
        addChildLayout(boxes);
        row.boxes = boxes;
        rows_.push_back(row);
        invalidate();
    }

    void addItem(QLayoutItem* item) override {
        rows_.push_back(Row{nullptr, item});
        invalidate();
    }
    int count() const override {
        int n = 0;
        for (const Row& r : rows_) n += (r.label ? 1 : 0) + (r.boxes ? 1 : 0);
        return n;
    }
    QLayoutItem* itemAt(int index) const override {
        for (const Row& r : rows_)
            for (QLayoutItem* item : {r.label, r.boxes})
                if (item && index-- == 0) return item;
        return nullptr;
    }
    QLayoutItem* takeAt(int index) override {
        for (auto it = rows_.begin(); it != rows_.end(); ++it)
            for (QLayoutItem** slot : {&it->label, &it->boxes})
                if (*slot && index-- == 0) {
                    QLayoutItem* item = *slot;
                    *slot = nullptr;
                    if (!it->label && !it->boxes) rows_.erase(it);
                    if (QLayout* l = item->layout(); l && l->parent() == this) l->setParent(nullptr);
                    invalidate();
                    return item;
                }
        return nullptr;
    }

    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const QMargins m = contentsMargins();
        return heightOf(plan(width - m.left() - m.right())) + m.top() + m.bottom();
    }
    // One column at the boxes' preferred widths.
    QSize sizeHint() const override {
        const Plan p = plan(0);
        const QMargins m = contentsMargins();
        return QSize(lead(p) + p.boxesHint + m.left() + m.right(), heightOf(p) + m.top() + m.bottom());
    }
    // One column at the boxes' least widths, as tall as that makes it.
    QSize minimumSize() const override {
        const Plan p = plan(0);
        const QMargins m = contentsMargins();
        return QSize(lead(p) + p.boxesMin + m.left() + m.right(), heightOf(p) + m.top() + m.bottom());
    }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        const QRect area = rect.marginsRemoved(contentsMargins());
        const Plan p = plan(area.width());
        if (p.rows.empty()) return;
        const int columnWidth = (area.width() - (p.columns - 1) * kColumnGap) / p.columns;
        for (size_t i = 0; i < p.rows.size(); ++i) {
            const int column = static_cast<int>(i) / p.perColumn;
            const int line = static_cast<int>(i) % p.perColumn;
            const int x = area.x() + column * (columnWidth + kColumnGap);
            const int y = area.y() + line * (p.rowHeight + kRowSpacing);
            const Row& r = *p.rows[i];
            if (r.label) r.label->setGeometry(QRect(x, y, p.labelWidth, p.rowHeight));
            if (r.boxes) r.boxes->setGeometry(QRect(x + lead(p), y, std::max(0, columnWidth - lead(p)), p.rowHeight));
        }
    }

private:
    struct Row {
        QLayoutItem* label = nullptr;
        QLayoutItem* boxes = nullptr;
    };
    struct Plan {
        std::vector<const Row*> rows;  // the ones shown
        int labelWidth = 0, boxesMin = 0, boxesHint = 0, rowHeight = 0;
        int columns = 1, perColumn = 1;
    };

    static int lead(const Plan& p) { return p.labelWidth > 0 ? p.labelWidth + kLabelGap : 0; }
    static int heightOf(const Plan& p) {
        return p.rows.empty() ? 0 : p.perColumn * p.rowHeight + (p.perColumn - 1) * kRowSpacing;
    }

    // How the shown rows go into `width`: as many columns as fit at the boxes' least
    // widths, balanced so the last column is not the only short one.
    Plan plan(int width) const {
        Plan p;
        for (const Row& r : rows_) {
            const bool label = r.label && !r.label->isEmpty();
            const bool boxes = r.boxes && !r.boxes->isEmpty();
            if (!label && !boxes) continue;
            p.rows.push_back(&r);
            if (label) {
                const QSize s = r.label->sizeHint();
                p.labelWidth = std::max(p.labelWidth, s.width());
                p.rowHeight = std::max(p.rowHeight, s.height());
            }
            if (boxes) {
                p.boxesMin = std::max(p.boxesMin, r.boxes->minimumSize().width());
                p.boxesHint = std::max(p.boxesHint, r.boxes->sizeHint().width());
                p.rowHeight = std::max(p.rowHeight, r.boxes->sizeHint().height());
            }
        }
        if (p.rows.empty()) return p;
        const int rows = static_cast<int>(p.rows.size());
        const int column = lead(p) + p.boxesMin;
        const int fit =
            std::clamp((width + kColumnGap) / std::max(1, column + kColumnGap), 1, std::min(rows, kMaxColumns));
        p.perColumn = (rows + fit - 1) / fit;
        p.columns = (rows + p.perColumn - 1) / p.perColumn;
        return p;
    }

    std::vector<Row> rows_;
};

void collectFocusOrder(QLayout* layout, QList<QWidget*>& out);

// The widgets Tab stops at, in the order they are placed: the boxes of a group or
// a tab page where the group or page stands.
void collectFocusOrder(QWidget* w, QList<QWidget*>& out) {
    if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
        if (scroll->widget()) collectFocusOrder(scroll->widget(), out);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) collectFocusOrder(tabs->widget(i), out);
    } else if (QLayout* l = w->layout()) {
        collectFocusOrder(l, out);
    } else if (w->focusPolicy() & Qt::TabFocus) {
        out.push_back(w);
    }
}

void collectFocusOrder(QLayout* layout, QList<QWidget*>& out) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QWidget* w = item->widget())
            collectFocusOrder(w, out);
        else if (QLayout* l = item->layout())
            collectFocusOrder(l, out);
    }
}

// A tab page of boxes that scrolls when it is shorter than its rows. Qt's resizable
// scroll area sizes what it holds from its minimum size, which says nothing of how tall
// rows that flow into columns get at a width; this one asks heightForWidth.
class ScrollPage : public QScrollArea {
public:
    explicit ScrollPage(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        viewport()->setAutoFillBackground(false);  // the page shows through
        // The focused box is kept in sight, however it got the focus.
        QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && widget() && widget()->isAncestorOf(now)) ensureWidgetVisible(now, 8, 8);
        });
    }

    void fitContents() {
        QWidget* w = widget();
        if (!w || fitting_) return;
        fitting_ = true;
        const QSize room = maximumViewportSize();
        const int least = w->minimumSizeHint().width();
        const int vbar = verticalScrollBar()->sizeHint().width();
        const int hbar = horizontalScrollBar()->sizeHint().height();
        const auto heightAt = [w](int width) {
            const int h = w->heightForWidth(width);
            return h >= 0 ? h : w->sizeHint().height();
        };
        int width = std::max(room.width(), least);
        int height = heightAt(width);
        int shown = room.height() - (width > room.width() ? hbar : 0);
        if (height > shown) {  // the vertical bar takes its part of the width
            width = std::max(room.width() - vbar, least);
            height = heightAt(width);
            shown = room.height() - (width > room.width() - vbar ? hbar : 0);
        }
        w->resize(width, std::max(height, shown));
        fitting_ = false;
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QScrollArea::resizeEvent(e);
        fitContents();
    }

private:
    bool fitting_ = false;
};

// What a ScrollPage holds: it refits the page whenever its rows change.
class ScrollContents : public QWidget {
public:
    explicit ScrollContents(ScrollPage* page) : QWidget(page), page_(page) {}

protected:
    bool event(QEvent* e) override {
        const bool done = QWidget::event(e);
        if (e->type() == QEvent::LayoutRequest) page_->fitContents();
        return done;
    }

private:
    ScrollPage* page_;
};

QBoxLayout* scrolledPart(QWidget* container, QBoxLayout* layout) {
    auto* page = new ScrollPage(container);
    auto* contents = new ScrollContents(page);
    auto* into = new QVBoxLayout(contents);
    into->setContentsMargins(0, 0, 0, 0);
    page->setWidget(contents);
    contents->setAutoFillBackground(false);
    layout->addWidget(page);
    return into;
}

}  // namespace

void arrangeChildren(QWidget* container, QBoxLayout* layout, const Control* owner,
                     const std::vector<FormChild>& children) {
    const bool hasList =
        std::any_of(children.begin(), children.end(), [](const FormChild& c) { return holdsList(c.widget); });
    QBoxLayout* into = owner && owner->kind == ControlKind::Tab && !hasList ? scrolledPart(container, layout) : layout;

    // Consecutive rows share one set of columns; a whole-row child ends the set.
    FieldColumns* columns = nullptr;
    struct Row {
        QWidget* label = nullptr;
        std::vector<const FormChild*> items;
        bool checks = false;  // a run of check boxes
    };
    std::optional<Row> row;
    const auto endRow = [&] {
        if (!row) return;
        if (!columns) {
            columns = new FieldColumns;
            into->addLayout(columns);
        }
        auto* boxes = new BoxRow;
        boxes->setSpacing(kBoxSpacing);
        columns->addRow(row->label, boxes);
        // A row of buttons only sits at the right, as a dialog's buttons do.
        const bool buttons = !row->items.empty() && std::all_of(row->items.begin(), row->items.end(), [](auto* c) {
            return c->control.kind == ControlKind::Button;
        });
        if (buttons) boxes->addStretch(1);
        QWidget* buddy = nullptr;
        for (const FormChild* c : row->items) {
            boxes->addWidget(c->widget, growsWithRow(*c) ? 1 : 0);
            if (!buddy && (c->widget->focusPolicy() & Qt::TabFocus)) buddy = c->widget;
        }
        if (!buttons) boxes->addStretch(0);
        if (auto* l = qobject_cast<QLabel*>(row->label); l && buddy) l->setBuddy(buddy);
        row.reset();
    };

    for (const FormChild& child : children) {
        fit(child);
        const ControlKind k = child.control.kind;
        if (takesWholeRow(k)) {
            endRow();
            columns = nullptr;
            into->addWidget(child.widget, holdsList(child.widget) ? 1 : 0);
            continue;
        }
        if (k == ControlKind::Label) {
            endRow();
            row = Row{child.widget, {}, false};
            continue;
        }
        // A check box is not one of a label's boxes: it starts its own row, which the
        // check boxes right after it share.
        const bool check = k == ControlKind::CheckBox;
        if (row && check && !row->checks) endRow();
        if (!row) row = Row{nullptr, {}, check};
        row->items.push_back(&child);
    }
    endRow();
    // Height left over goes to the lists, else below the rows of a page or a dialog; a
    // group without a list is only as tall as its rows.
    if (!hasList && (!owner || owner->kind != ControlKind::GroupBox)) into->addStretch(1);

    QList<QWidget*> order;
    collectFocusOrder(layout, order);
    for (int i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace gui
