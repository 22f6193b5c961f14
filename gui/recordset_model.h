#pragma once
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "platform/components.h"

namespace gui {

// A grid's view of a record set: cells are read on demand for the rows on screen,
// so a list of 100,000 requests opens as fast as a list of ten. Edits go back
// through a writer the grid installs, so they reach the record set as typed text
// and the field's rules run.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Writes a cell's typed text; false when the screen refused it.
    using Writer = std::function<bool(int row, const std::string& field, const std::string& text)>;

    RecordSetModel(core::RecordSet* set, std::vector<platform::GridColumn> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The grid's columns as the screen holds them (hidden ones included). Only a change
    // of which columns show resets the view; a change of title, flags or hooks repaints.
    // Returns true when the visible columns changed.
    bool setColumns(const std::vector<platform::GridColumn>& columns);
    // The visible columns, in view order.
    const std::vector<platform::GridColumn>& columns() const { return columns_; }
    const platform::GridColumn* column(int section) const;
    // Index among the screen's columns of a visible section, and back (-1 when none).
    int modelColumn(int section) const;
    int section(int modelColumn) const;
    core::RecordSet* recordSet() const { return set_; }
    void setRecordSet(core::RecordSet* set);
    // Cells take typed text (the grid edits in place) unless the column or its field is read-only.
    void setEditable(bool on) { editable_ = on; }
    void setWriter(Writer w) { writer_ = std::move(w); }
    // Re-reads the set after a handler ran: a reset when the row count changed,
    // otherwise a repaint of every cell.
    void refresh();

private:
    core::RecordSet* set_;
    std::vector<platform::GridColumn> all_;      // as the screen declared them
    std::vector<platform::GridColumn> columns_;  // visible ones only
    std::vector<int> source_;                    // index in all_ of each visible column
    int rows_ = 0;
    bool editable_ = false;
    Writer writer_;
};

}  // namespace gui
