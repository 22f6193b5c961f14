#include "gui/recordset_model.h"

#include <QBrush>
#include <QColor>

namespace gui {

namespace {

// A grid declared without columns shows the set's visible fields.
std::vector<platform::GridColumn> declaredOrFields(core::RecordSet* set, const std::vector<platform::GridColumn>& cols) {
    if (!cols.empty() || !set) return cols;
    std::vector<platform::GridColumn> out;
    for (size_t i = 0; i < set->fieldCount(); ++i) {
        const auto& f = set->fieldAt(i);
        if (f.visible) out.push_back({f.name(), f.label.empty() ? f.name() : f.label});
    }
    return out;
}

bool sameLook(const platform::GridColumn& a, const platform::GridColumn& b) {
    return a.field == b.field && a.title == b.title && a.readOnly == b.readOnly && a.button == b.button &&
           a.pickList == b.pickList && a.alignment == b.alignment && a.width == b.width;
}

}  // namespace

RecordSetModel::RecordSetModel(core::RecordSet* set, std::vector<platform::GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), set_(set) {
    rows_ = set_ && set_->active() ? set_->recordCount() : 0;
    setColumns(columns);
}

int RecordSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const platform::GridColumn* RecordSetModel::column(int section) const {
    return section >= 0 && section < columnCount() ? &columns_[section] : nullptr;
}

int RecordSetModel::modelColumn(int section) const {
    return section >= 0 && section < static_cast<int>(source_.size()) ? source_[section] : -1;
}

int RecordSetModel::section(int modelColumn) const {
    for (size_t i = 0; i < source_.size(); ++i)
        if (source_[i] == modelColumn) return static_cast<int>(i);
    return -1;
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !set_ || index.row() >= rows_ || index.column() >= columnCount()) return {};
    const auto& col = columns_[index.column()];
    // A view never fails on data: a cell that cannot be read shows nothing.
    try {
        switch (role) {
            case Qt::DisplayRole:
            case Qt::ToolTipRole: return QString::fromStdString(set_->displayTextAt(index.row(), col.field));
            case Qt::EditRole: {
                // The editor starts from the text as edited, on the row's own values.
                if (set_->recNo() == index.row() + 1) return QString::fromStdString(set_->field(col.field).text());
                return QString::fromStdString(set_->displayTextAt(index.row(), col.field));
            }
            case Qt::TextAlignmentRole: {
                if (col.alignment == platform::Alignment::Left) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
                if (col.alignment == platform::Alignment::Center)
                    return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
                const auto* f = set_->findField(col.field);
                if (col.alignment == platform::Alignment::Right ||
                    (f && (f->type() == core::FieldType::Float || f->type() == core::FieldType::Integer)))
                    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
                return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
            }
            case Qt::BackgroundRole:
                if (col.readOnly) return QBrush(QColor(0xF0, 0xF0, 0xF0));
                return {};
            default: return {};
        }
    } catch (const std::exception&) {
        return {};
    }
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const auto* col = column(index.column());
    if (!editable_ || !col || col->readOnly || !set_ || !set_->active()) return f;
    const auto* field = set_->findField(col->field);
    if (!field || field->readOnly || field->calculated) return f;
    return f | Qt::ItemIsEditable;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !writer_ || !(flags(index) & Qt::ItemIsEditable)) return false;
    const auto* col = column(index.column());
    if (!writer_(index.row(), col->field, value.toString().toStdString())) return false;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return section + 1;
    const auto* col = column(section);
    if (!col) return {};
    if (!col->title.empty()) return QString::fromStdString(col->title);
    const auto* f = set_ ? set_->findField(col->field) : nullptr;
    return QString::fromStdString(f && !f->label.empty() ? f->label : col->field);
}

bool RecordSetModel::setColumns(const std::vector<platform::GridColumn>& declared) {
    const auto cols = declaredOrFields(set_, declared);
    std::vector<int> source;
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].visible) source.push_back(static_cast<int>(i));
    bool sameFields = source.size() == source_.size();
    for (size_t i = 0; sameFields && i < source.size(); ++i)
        sameFields = cols[source[i]].field == columns_[i].field;
    if (!sameFields) {
        beginResetModel();
        all_ = cols;
        source_ = std::move(source);
        columns_.clear();
        for (int i : source_) columns_.push_back(all_[i]);
        rows_ = set_ && set_->active() ? set_->recordCount() : 0;
        endResetModel();
        return true;
    }
    bool looks = true;
    for (size_t i = 0; i < source.size(); ++i) looks = looks && sameLook(columns_[i], cols[source[i]]);
    all_ = cols;
    for (size_t i = 0; i < source_.size(); ++i) columns_[i] = all_[source_[i]];
    if (!looks) {
        emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
        if (rows_ > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
    return false;
}

void RecordSetModel::setRecordSet(core::RecordSet* set) {
    if (set == set_) return;
    beginResetModel();
    set_ = set;
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
