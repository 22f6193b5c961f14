// Conclusion and release of an analysis, stock movement, formula and resources.
#include "appserver/methods/methods.h"
#include "appserver/numbering.h"
#include "appserver/sql.h"

namespace appserver {

namespace {

// Row numbers of the formula and of the resources, per branch.
core::Variant prxFormulaAna(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return static_cast<double>(nextNumber(c.db(), branch, "FORMULAANA", [&] {
        return c.dialect().highestNumber(c.db(), "FORMULAANA", "NRSEQFORMULA", {{"CDFILIAL", branch}});
    }));
}

core::Variant prxRecursoAna(Call& c) {
    c.expect({Arg::Text});
    const auto branch = c.text(0);
    return static_cast<double>(nextNumber(c.db(), branch, "RECURSOANA", [&] {
        return c.dialect().highestNumber(c.db(), "RECURSOANA", "NRSEQRECURANA", {{"CDFILIAL", branch}});
    }));
}

}  // namespace

void registerConclusionMethods(MethodTable& t) {
    t.add(kModule, "prxFormulaAna", prxFormulaAna);
    t.add(kModule, "prxRecursoAna", prxRecursoAna);
}

}  // namespace appserver
