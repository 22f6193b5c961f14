#pragma once
#include <QDialog>
#include <vector>

#include "platform/host.h"

class QTableView;
class QSortFilterProxyModel;

namespace gui {

// The host's pick list: the source rows in a grid, a box that narrows them as the
// user types, Enter or a double click to choose.
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    LookupDialog(const platform::LookupRequest& request, QWidget* parent = nullptr);
    std::vector<int> chosenRows() const;  // rows of the source, 0-based

private:
    QTableView* table_;
    QSortFilterProxyModel* proxy_;
};

}  // namespace gui
