// Grids over record sets: in-place editing, column enter and exit, cell clicks, the
// ellipsis button and the draw hooks (through GridDelegate).
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

#include "gui/binders/binder.h"
#include "gui/binders/box_binder.h"
#include "gui/form_view.h"
#include "gui/grid_delegate.h"
#include "gui/recordset_model.h"
#include "platform/handler.h"

namespace gui {

using platform::Control;

namespace {

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
            const QString title = model->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
            w = std::max(chars * ch, fm.horizontalAdvance(title)) + 16;
        }
        tv->setColumnWidth(i, w);
    }
}

RecordSetModel* modelOf(QTableView* tv) { return static_cast<RecordSetModel*>(tv->model()); }

class GridBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        auto* tv = new QTableView(parent);
        const auto* ds = view.form().comps.dataSource(c.dataSource);
        auto* model = new RecordSetModel(ds ? ds->dataSet() : nullptr, c.columns, tv);
        tv->setModel(model);
        auto* delegate = new GridDelegate(view, name, tv);
        tv->setItemDelegate(delegate);
        tv->setSelectionMode(QAbstractItemView::SingleSelection);
        tv->verticalHeader()->setDefaultSectionSize(22);
        tv->horizontalHeader()->setStretchLastSection(true);
        fitColumns(tv, model);
        view.watch(tv, name);
        if (auto& g = view.form().comps[name]; g.selectedColumn < 0) g.selectedColumn = model->modelColumn(0);

        // Typed text reaches the record set as the user's: the set goes into edit and
        // the field's rules run. The repaint waits until the editor has closed.
        model->setWriter([&view, model](int row, const std::string& field, const std::string& text) {
            const bool ok = platform::runHandler([&] {
                auto* set = model->recordSet();
                if (!set || !set->active()) return;
                if (set->recNo() != row + 1) set->moveTo(row + 1);
                auto& f = set->field(field);
                if (f.text() != text) writeTyped(f, text);
            });
            QTimer::singleShot(0, &view, [&view] { view.run([] {}, false); });
            return ok;
        });

        QObject::connect(tv->selectionModel(), &QItemSelectionModel::currentChanged, &view,
                         [&view, name, model](const QModelIndex& cur, const QModelIndex&) {
                             if (view.syncing() || !cur.isValid()) return;
                             view.run([&view, name, model, cur] {
                                 auto& comps = view.form().comps;
                                 auto* set = model->recordSet();
                                 if (set && set->active() && set->recNo() != cur.row() + 1)
                                     set->moveTo(cur.row() + 1);
                                 auto& g = comps[name];
                                 const int col = model->modelColumn(cur.column());
                                 if (col != g.selectedColumn) {
                                     // A refused exit keeps the cell: the sync puts the view back.
                                     if (g.selectedColumn >= 0 && g.onColExit) g.onColExit();
                                     g.selectedColumn = col;
                                     if (g.onColEnter) g.onColEnter();
                                 }
                                 if (comps.activeControl() != name) comps.setFocus(name);
                             }, false);
                         });
        QObject::connect(tv, &QTableView::clicked, &view, [&view, name, model, delegate](const QModelIndex& index) {
            if (delegate->takeButtonClick()) return;
            const auto* col = model->column(index.column());
            auto& g = view.form().comps[name];
            if (!col || !g.onCellClick) return;
            const std::string field = col->field;
            view.run([&view, name, field] { view.form().comps[name].onCellClick(field); });
        });
        QObject::connect(tv, &QTableView::doubleClicked, &view, [&view, name](const QModelIndex&) {
            auto& ctl = view.form().comps[name];
            if (ctl.onDblClick) view.run(ctl.onDblClick);
        });
        return tv;
    }

    void sync(FormView& view, const Control& c, QWidget* w) const override {
        auto* tv = static_cast<QTableView*>(w);
        auto* model = modelOf(tv);
        const auto* ds = view.form().comps.dataSource(c.dataSource);
        // dtsPadrao follows the tab and the grid entered: the grid shows what it points at.
        core::RecordSet* set = ds ? ds->dataSet() : nullptr;
        const bool newSet = set != model->recordSet();
        model->setRecordSet(set);
        if (model->setColumns(c.columns) || newSet) fitColumns(tv, model);
        const bool editable = !c.readOnly && c.editing;
        model->setEditable(editable);
        tv->setSelectionBehavior(editable ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
        QAbstractItemView::EditTriggers triggers = QAbstractItemView::NoEditTriggers;
        if (editable) {
            // A typed character opens the editor through the view, after the key rules.
            // No editor on a click of the selected cell: Qt delays it by a double-click
            // interval and refuses any other edit meanwhile, so a key typed at once was lost.
            triggers = QAbstractItemView::EditKeyPressed;
            if (!c.onDblClick) triggers |= QAbstractItemView::DoubleClicked;
        }
        if (tv->editTriggers() != triggers) tv->setEditTriggers(triggers);
        model->refresh();
        if (set && set->active() && set->recNo() > 0) {
            const int row = set->recNo() - 1;
            int section = model->section(c.selectedColumn);
            if (section < 0) section = std::max(0, tv->currentIndex().column());
            const QModelIndex want = model->index(row, std::min(section, std::max(0, model->columnCount() - 1)));
            if (want.isValid() && tv->currentIndex() != want) tv->setCurrentIndex(want);
        }
    }
};

}  // namespace

const ControlBinder& gridBinder() {
    static const GridBinder b;
    return b;
}

}  // namespace gui
