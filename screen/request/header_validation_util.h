#pragma once
#include <string>

#include "core/value.h"

// Small helpers shared by the header's checks, handlers and lookups.
namespace screen {

class TfrmPedidoAna;

namespace header {

bool blank(const std::string& v);  // empty or blanks only
// The request's field as text.
std::string text(const TfrmPedidoAna& s, const char* field);
// Writes the request's field while it is being edited, and only when the value
// changes; outside an edit nothing is written.
void assign(TfrmPedidoAna& s, const char* field, const core::Value& v);
void clearValue(TfrmPedidoAna& s, const char* field);
// What a box shows: an unbound box its text, a bound one the text being typed
// (while it has the focus) or its field's edit text.
std::string boxText(TfrmPedidoAna& s, const std::string& box);
void showFormTab(TfrmPedidoAna& s);

}  // namespace header
}  // namespace screen
