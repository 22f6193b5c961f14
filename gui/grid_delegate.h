#pragma once
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <string>
#include <utility>

class QTableView;

namespace gui {

class FormView;
class RecordSetModel;

// Paints and edits a grid's cells for the screen: each cell goes through its column's
// draw hook (which sees the whole row, the focus and whether the editor is open);
// a cell edits in a line edit with its field's mask and size, a pick list in a combo
// box, and a column with a button shows an ellipsis that raises the grid's
// edit-button event. What is typed is written through the record set.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(FormView& view, std::string grid, QTableView* table);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // The cell whose editor is open, if any.
    QModelIndex editing() const { return editing_; }
    // Runs the grid's edit-button event, after storing what the open editor holds.
    void clickEditButton();
    // True once after a click that landed on a cell's ellipsis (the view still reports
    // it as the cell's click).
    bool takeButtonClick() { return std::exchange(buttonClicked_, false); }

private:
    RecordSetModel* model() const;
    bool hasButton(const QModelIndex& index) const;
    static QRect buttonRect(const QRect& cell);

    FormView& view_;
    std::string grid_;
    QTableView* table_;
    mutable QPersistentModelIndex editing_;
    mutable QWidget* editor_ = nullptr;
    bool buttonClicked_ = false;
};

}  // namespace gui
