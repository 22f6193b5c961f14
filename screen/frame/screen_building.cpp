#include "screen/frame/screen_building.h"

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

}  // namespace screen::building
