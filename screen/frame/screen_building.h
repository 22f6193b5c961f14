#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/recordset.h"
#include "platform/components.h"
#include "records/record.h"

// What every subject uses to declare its record sets' fields and to add its views to
// the screen's component model.
namespace screen {
class TfrmPedidoAna;
}

namespace screen::building {

struct FieldSpec {
    const char* name;
    core::FieldType type;
    int size;
    const char* label;
    bool visible;
};

using records::types::B;
using records::types::D;
using records::types::N;
using records::types::S;

// Appends the fields in order.
void declare(core::RecordSet& set, std::initializer_list<FieldSpec> fields);
// Marks the key fields, by which the server finds a changed row again.
void key(core::RecordSet& set, std::initializer_list<const char*> names);

// The control of that name, added when missing. The base screen may already hold it
// (its tabs, list grid, menus); it keeps it, with the handlers it set.
platform::Control& ensure(platform::ComponentModel& comps, const std::string& name, platform::ControlKind kind,
                          const std::string& parent, const std::string& caption = {});

// A grid over `dataSource`; a non-empty field list replaces its columns.
platform::Control& grid(platform::ComponentModel& comps, const std::string& name, const std::string& parent,
                        const std::string& dataSource, std::vector<std::string> fields);

// Wires a view event to one of the screen's named handlers. The views run it as the
// host's event loop does: a refusal thrown there is shown, and a refused column exit
// keeps the cell.
inline void on(std::function<void()>& slot, TfrmPedidoAna& s, void (*handler)(TfrmPedidoAna&)) {
    slot = [&s, handler] { handler(s); };
}

// A control's click runs one of the screen's handlers, as the host's event loop runs it.
void onClick(TfrmPedidoAna& s, const char* name, void (*handler)(TfrmPedidoAna&));
// A menu item that runs its toolbar button's click, and only while the button may.
void menuRuns(TfrmPedidoAna& s, const char* item, const char* button);

}  // namespace screen::building
