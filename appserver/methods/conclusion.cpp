// Conclusion and release of an analysis, stock movement, formula and resources.
#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

// Highest value of a numeric column of the branch in `table`, 0 when the table is not there.
long long highest(Call& c, const char* table, const char* column, const std::string& branch) {
    if (!tableExists(c.db(), c.backend(), table)) return 0;
    return queryValue(c.db(), std::string("SELECT MAX(") + column + ") FROM " + table + " WHERE CDFILIAL = :f",
                      {branch}, core::FieldType::Integer)
        .asInteger();
}

// Row numbers of the formula and of the resources, per branch.
core::Variant prxFormulaAna(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return static_cast<double>(
        nextNumber(c.db(), branch, "FORMULAANA", [&] { return highest(c, "FORMULAANA", "NRSEQFORMULA", branch); }));
}

core::Variant prxRecursoAna(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return static_cast<double>(nextNumber(c.db(), branch, "RECURSOANA",
                                          [&] { return highest(c, "RECURSOANA", "NRSEQRECURANA", branch); }));
}

}  // namespace

void registerConclusionMethods(MethodTable& t) {
    t.add(kModule, "prxFormulaAna", prxFormulaAna);
    t.add(kModule, "prxRecursoAna", prxRecursoAna);
}

}  // namespace appserver
