#pragma once
#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "platform/components.h"

namespace gui {

// A grid's view of a record set: cells are read on demand for the rows on screen,
// so a list of 100,000 requests opens as fast as a list of ten.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RecordSetModel(core::RecordSet* set, std::vector<platform::GridColumn> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void setColumns(std::vector<platform::GridColumn> columns);
    const std::vector<platform::GridColumn>& columns() const { return columns_; }
    core::RecordSet* recordSet() const { return set_; }
    // Re-reads the set after a handler ran: a reset when the row count changed,
    // otherwise a repaint of every cell.
    void refresh();

private:
    core::RecordSet* set_;
    std::vector<platform::GridColumn> columns_;  // visible ones only
    int rows_ = 0;
};

}  // namespace gui
