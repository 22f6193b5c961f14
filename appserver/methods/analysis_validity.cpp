#include "appserver/methods/analysis_validity.h"

#include <cmath>

#include "appserver/sql.h"
#include "core/format.h"

namespace appserver {

core::DateTime analysisValidity(soci::session& db, const std::string& product, core::DateTime from) {
    const auto months =
        queryValue(db, "SELECT NRDIASVALANA FROM PRODUTO WHERE CDPRODUTO = :p", {product}, core::FieldType::Float);
    const double units = months.isNull() ? 0.0 : std::trunc(months.asFloat());
    return from.datePart().plusDays(units * 30);
}

std::string validityText(core::DateTime validity) { return core::formatDateTime("dd/mm/yyyy", validity); }

}  // namespace appserver
