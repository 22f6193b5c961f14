#include "gui/lookup_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "gui/recordset_model.h"

namespace gui {

LookupDialog::LookupDialog(const platform::LookupRequest& request, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(request.title));
    resize(640, 420);
    std::vector<platform::GridColumn> cols;
    for (const auto& c : request.columns) cols.push_back({c, {}});
    auto* model = new RecordSetModel(request.source, cols, this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    auto* layout = new QVBoxLayout(this);
    auto* filter = new QLineEdit(this);
    filter->setPlaceholderText("Pesquisar...");
    layout->addWidget(filter);
    table_ = new QTableView(this);
    table_->setModel(proxy_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(request.multiSelect ? QAbstractItemView::MultiSelection
                                                 : QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    layout->addWidget(table_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancelar");
    layout->addWidget(buttons);

    connect(filter, &QLineEdit::textChanged, proxy_, [this](const QString& t) {
        proxy_->setFilterFixedString(t);
        if (proxy_->rowCount() > 0 && !table_->currentIndex().isValid())
            table_->setCurrentIndex(proxy_->index(0, 0));
    });
    connect(table_, &QTableView::doubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (proxy_->rowCount() > 0) table_->setCurrentIndex(proxy_->index(0, 0));
    filter->setFocus();
}

std::vector<int> LookupDialog::chosenRows() const {
    std::set<int> rows;
    for (const auto& idx : table_->selectionModel()->selectedRows()) rows.insert(proxy_->mapToSource(idx).row());
    if (rows.empty() && table_->currentIndex().isValid())
        rows.insert(proxy_->mapToSource(table_->currentIndex()).row());
    return {rows.begin(), rows.end()};
}

}  // namespace gui
