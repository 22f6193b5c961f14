#include "gui/grid_delegate.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QAction>

#include "gui/binders/box_binder.h"
#include "gui/edit_mask.h"
#include "gui/form_view.h"
#include "gui/icons.h"
#include "gui/recordset_model.h"

namespace gui {

namespace {

constexpr int kButtonWidth = 18;

}  // namespace

GridDelegate::GridDelegate(FormView& view, std::string grid, QTableView* table)
    : QStyledItemDelegate(table), view_(view), grid_(std::move(grid)), table_(table) {}

RecordSetModel* GridDelegate::model() const { return static_cast<RecordSetModel*>(table_->model()); }

bool GridDelegate::hasButton(const QModelIndex& index) const {
    const auto* col = model()->column(index.column());
    return col && col->button;
}

QRect GridDelegate::buttonRect(const QRect& cell) {
    return QRect(cell.right() - kButtonWidth + 1, cell.top(), kButtonWidth, cell.height());
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    const auto* col = model()->column(index.column());
    auto* set = model()->recordSet();
    if (!col || !set) return nullptr;
    QWidget* editor = nullptr;
    if (!col->pickList.empty()) {
        auto* cb = new QComboBox(parent);
        for (const auto& item : col->pickList) cb->addItem(QString::fromStdString(item));
        // A pick is the user's answer: it is stored at once, as Enter would.
        connect(cb, &QComboBox::activated, this, [this, cb] {
            emit const_cast<GridDelegate*>(this)->commitData(cb);
            emit const_cast<GridDelegate*>(this)->closeEditor(cb);
        });
        view_.watch(cb, grid_);
        editor = cb;
    } else {
        auto* e = new QLineEdit(parent);
        e->setFrame(false);
        if (const auto* f = set->findField(col->field)) {
            const HostMask mask = parseHostMask(f->editMask);
            if (!mask.qtMask.isEmpty()) e->setInputMask(mask.qtMask);
            else if (f->type() == core::FieldType::String && f->size() > 0) e->setMaxLength(f->size());
        }
        if (col->button) {
            QAction* more = e->addAction(iconFor("lookup"), QLineEdit::TrailingPosition);
            more->setToolTip(QStringLiteral("…"));
            connect(more, &QAction::triggered, this, [this] { const_cast<GridDelegate*>(this)->clickEditButton(); });
        }
        view_.watch(e, grid_);
        editor = e;
    }
    editing_ = index;
    editor_ = editor;
    return editor;
}

void GridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == editor_) {
        editor_ = nullptr;
        editing_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* cb = qobject_cast<QComboBox*>(editor)) {
        const int i = cb->findText(text);
        if (i >= 0) cb->setCurrentIndex(i);
        return;
    }
    if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        // A key that opened the editor is typed after this; it must not be overwritten.
        if (e->isModified()) return;
        e->setText(text);
        e->selectAll();
    }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    auto* set = this->model()->recordSet();
    const auto* col = this->model()->column(index.column());
    if (!set || !col) return;
    std::string text;
    if (auto* cb = qobject_cast<QComboBox*>(editor)) {
        text = cb->currentText().toStdString();
    } else if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        const auto* f = set->findField(col->field);
        if (!f) return;
        // An untouched cell writes nothing, so leaving it never starts an edit.
        if (!e->isModified()) return;
        text = fieldInputOf(e, *f);
    }
    model->setData(index, QString::fromStdString(text), Qt::EditRole);
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const auto* col = model()->column(index.column());
    auto* set = model()->recordSet();
    const bool focused = index == table_->currentIndex();
    std::string image;
    platform::Alignment imageAlignment = platform::Alignment::Center;
    if (col && set && col->onDraw) {
        platform::CellDraw cell{*set, index.row(), *col, focused, editing_ == index, opt.text.toStdString()};
        // A view never fails on data: a hook that cannot paint leaves the plain text.
        try {
            col->onDraw(cell);
            opt.text = QString::fromStdString(cell.text);
            image = cell.image;
            imageAlignment = cell.imageAlignment;
        } catch (const std::exception&) {
        }
    }
    if (!image.empty()) opt.text.clear();
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
    if (!image.empty()) {
        const int side = std::max(8, opt.rect.height() - 4);
        const QPixmap pix = iconFor(image).pixmap(side, side);
        int x = opt.rect.left() + (opt.rect.width() - side) / 2;
        if (imageAlignment == platform::Alignment::Left) x = opt.rect.left() + 2;
        else if (imageAlignment == platform::Alignment::Right) x = opt.rect.right() - side - 2;
        painter->drawPixmap(x, opt.rect.top() + (opt.rect.height() - side) / 2, pix);
    }
    // The current cell of a column with a button shows its ellipsis.
    if (focused && hasButton(index) && editing_ != index) {
        QStyleOptionButton b;
        b.rect = buttonRect(opt.rect);
        b.text = QStringLiteral("…");
        b.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &b, painter, w);
    }
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (event->type() == QEvent::MouseButtonPress) buttonClicked_ = false;  // a new click is judged on its own
    if ((press || release) && index == table_->currentIndex() && hasButton(index)) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (buttonRect(option.rect).contains(me->position().toPoint())) {
            if (release) {
                buttonClicked_ = true;
                clickEditButton();
            }
            return true;  // the button's click, not the cell's
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

void GridDelegate::clickEditButton() {
    // What is typed so far is stored first: the lookup acts on the cell's value.
    if (QWidget* e = editor_) {
        emit commitData(e);
        emit closeEditor(e, QAbstractItemDelegate::NoHint);
    }
    view_.run([this] {
        auto& grid = view_.form().comps[grid_];
        if (grid.enabled && grid.onEditButtonClick) grid.onEditButtonClick();
    });
}

}  // namespace gui
