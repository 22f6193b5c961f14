#pragma once
#include <initializer_list>
#include <string>

#include "core/recordset.h"
#include "platform/components.h"
#include "platform/services.h"

// Small helpers shared by the screen-state handlers and their enabling rules.
namespace screen::state {

inline bool editing(const core::RecordSet& set) {
    return set.state() == core::DataSetState::Edit || set.state() == core::DataSetState::Insert;
}

// The current row's field as text; empty when the set has no such field.
inline std::string text(const core::RecordSet& set, const char* field) {
    const auto* f = set.findField(field);
    return f ? f->asString() : std::string();
}

// A browsed set goes into edit, as a typed key puts it; one already editing stays.
inline void ensureEditing(core::RecordSet& set) {
    if (set.state() == core::DataSetState::Browse) set.edit();
}

inline bool blank(const std::string& v) { return platform::EmptyString(v); }

// Cancelled ("3") or concluded ("4", "5"): the request's inspections and boxes close.
inline bool closedSituation(const std::string& sit) { return sit == "3" || sit == "4" || sit == "5"; }

// Controls another subject has not built yet are passed over.
inline void enable(platform::ComponentModel& comps, std::initializer_list<const char*> names, bool on) {
    for (const char* n : names)
        if (auto* c = comps.find(n)) c->enabled = on;
}

inline void paint(platform::ComponentModel& comps, std::initializer_list<const char*> names, platform::Color color) {
    for (const char* n : names)
        if (auto* c = comps.find(n)) c->color = color;
}

}  // namespace screen::state
