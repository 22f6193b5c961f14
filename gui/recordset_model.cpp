#include "gui/recordset_model.h"

#include <QBrush>
#include <QColor>

#include "gui/icons.h"

namespace gui {

namespace {
std::vector<platform::GridColumn> visibleColumns(core::RecordSet* set, std::vector<platform::GridColumn> cols) {
    std::vector<platform::GridColumn> out;
    if (cols.empty() && set) {
        for (size_t i = 0; i < set->fieldCount(); ++i) {
            const auto& f = set->fieldAt(i);
            if (f.visible) out.push_back({f.name(), f.label.empty() ? f.name() : f.label});
        }
        return out;
    }
    for (auto& c : cols)
        if (c.visible) out.push_back(std::move(c));
    return out;
}
}  // namespace

RecordSetModel::RecordSetModel(core::RecordSet* set, std::vector<platform::GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), set_(set), columns_(visibleColumns(set, std::move(columns))) {
    rows_ = set_ && set_->active() ? set_->recordCount() : 0;
}

int RecordSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !set_ || index.row() >= rows_ || index.column() >= columnCount()) return {};
    const auto& col = columns_[index.column()];
    if (col.imageFor && (role == Qt::DisplayRole || role == Qt::DecorationRole || role == Qt::ToolTipRole)) {
        // A status column paints its image in place of the text; the text stays as the tip.
        try {
            if (role == Qt::DecorationRole) return iconFor(col.imageFor(set_->valueAt(index.row(), col.field)));
            if (role == Qt::ToolTipRole) return QString::fromStdString(set_->displayTextAt(index.row(), col.field));
        } catch (const std::exception&) {
        }
        return {};
    }
    if (role == Qt::DisplayRole) {
        try {
            return QString::fromStdString(set_->displayTextAt(index.row(), col.field));
        } catch (const std::exception&) {
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole) {
        const auto* f = set_->findField(col.field);
        if (f && (f->type() == core::FieldType::Float || f->type() == core::FieldType::Integer))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role == Qt::BackgroundRole && col.readOnly) return QBrush(QColor(0xF0, 0xF0, 0xF0));
    return {};
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    const auto& col = columns_[section];
    if (!col.title.empty()) return QString::fromStdString(col.title);
    const auto* f = set_ ? set_->findField(col.field) : nullptr;
    return QString::fromStdString(f && !f->label.empty() ? f->label : col.field);
}

void RecordSetModel::setColumns(std::vector<platform::GridColumn> columns) {
    beginResetModel();
    columns_ = visibleColumns(set_, std::move(columns));
    rows_ = set_ && set_->active() ? set_->recordCount() : 0;
    endResetModel();
}

void RecordSetModel::refresh() {
    const int rows = set_ && set_->active() ? set_->recordCount() : 0;
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
}

}  // namespace gui
