// The navigator: first, prior, next, last over a data source, and the position.
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

#include "gui/binders/binder.h"
#include "gui/form_view.h"

namespace gui {

using platform::Control;
using platform::ControlKind;

namespace {

class NavigatorBinder : public ControlBinder {
public:
    QWidget* create(FormView& view, const Control& c, QWidget* parent) const override {
        const std::string name = c.name;
        auto* nav = new QWidget(parent);
        auto* nl = new QHBoxLayout(nav);
        nl->setContentsMargins(0, 0, 0, 0);
        const std::pair<QStyle::StandardPixmap, int> moves[] = {{QStyle::SP_MediaSkipBackward, 0},
                                                               {QStyle::SP_MediaSeekBackward, 1},
                                                               {QStyle::SP_MediaSeekForward, 2},
                                                               {QStyle::SP_MediaSkipForward, 3}};
        for (const auto& [pix, move] : moves) {
            auto* b = new QToolButton(nav);
            b->setIcon(view.style()->standardIcon(pix));
            b->setAutoRaise(true);
            b->setFocusPolicy(Qt::NoFocus);
            nl->addWidget(b);
            QObject::connect(b, &QToolButton::clicked, &view, [&view, name, move = move] {
                view.run([&view, name, move] {
                    auto* ds = view.form().comps.dataSource(view.form().comps[name].dataSource);
                    if (!ds || !ds->dataSet() || !ds->dataSet()->active()) return;
                    auto& set = *ds->dataSet();
                    if (move == 0) set.first();
                    else if (move == 1) set.prior();
                    else if (move == 2) set.next();
                    else set.last();
                });
            });
        }
        auto* pos = new QLabel(nav);
        pos->setObjectName("position");
        pos->setMinimumWidth(70);
        nl->addWidget(pos);
        nl->addStretch(1);
        return nav;
    }
    void sync(FormView& view, const Control& c, QWidget* w) const override {
        const auto* ds = view.form().comps.dataSource(c.dataSource);
        auto* l = w->findChild<QLabel*>("position");
        const auto* set = ds ? ds->dataSet() : nullptr;
        if (set && set->active())
            l->setText(QString("%1 / %2").arg(set->recNo()).arg(set->recordCount()));
        else
            l->setText(QString());
    }
};

}  // namespace

const ControlBinder& navigatorBinder() {
    static const NavigatorBinder b;
    return b;
}

}  // namespace gui
