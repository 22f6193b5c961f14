#include "screen/frame/screen_building.h"

#include "platform/handler.h"
#include "screen/frame/pedido_ana.h"

namespace screen::building {

void declare(core::RecordSet& set, std::initializer_list<FieldSpec> fields) {
    for (const auto& f : fields) {
        auto& field = set.addField(f.name, f.type, f.size, f.label);
        field.visible = f.visible;
    }
}

void key(core::RecordSet& set, std::initializer_list<const char*> names) {
    for (const char* n : names) set.field(n).def.inKey = true;
}

platform::Control& ensure(platform::ComponentModel& comps, const std::string& name, platform::ControlKind kind,
                          const std::string& parent, const std::string& caption) {
    if (auto* c = comps.find(name)) return *c;
    return comps.add(name, kind, parent, caption);
}

platform::Control& grid(platform::ComponentModel& comps, const std::string& name, const std::string& parent,
                        const std::string& dataSource, std::vector<std::string> fields) {
    auto& g = ensure(comps, name, platform::ControlKind::Grid, parent);
    g.dataSource = dataSource;
    if (!fields.empty()) {
        g.columns.clear();
        for (auto& f : fields) g.columns.push_back(platform::GridColumn{std::move(f), {}});
    }
    return g;
}

void onClick(TfrmPedidoAna& s, const char* name, void (*handler)(TfrmPedidoAna&)) {
    if (auto* c = s.comps.find(name))
        c->onClick = [&s, handler] { platform::runHandler([&s, handler] { handler(s); }); };
}

void menuRuns(TfrmPedidoAna& s, const char* item, const char* button) {
    if (auto* m = s.comps.find(item))
        m->onClick = [&s, b = std::string(button)] {
            auto& c = s.comps[b];
            if (c.enabled && c.onClick) c.onClick();
        };
}

}  // namespace screen::building
