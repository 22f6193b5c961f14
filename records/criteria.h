#pragma once
#include <map>
#include <string>
#include <vector>

#include "core/variant.h"

namespace records {

// What one criterion of a list call carries.
enum class CriterionKind {
    Text,        // a value compared as it is
    AllMarker,   // "T": the criterion before it does not restrict; empty: it does
    CodeList,    // one-letter codes each preceded by "_" ("_1_2"); "T" alone: all
    ChosenList,  // codes a multi-choice lookup wrote, separated by commas ("0001,0005")
    Date,        // a date-time; zero or less: no limit
};

struct Criterion {
    std::string name;
    CriterionKind kind = CriterionKind::Text;
};

// The criteria of a call, declared once: the client builds the call from them by
// name, the server reads them by name; the wire carries them positionally in this order.
class Criteria {
public:
    Criteria(std::string method, std::vector<Criterion> criteria);

    const std::string& method() const { return method_; }
    const std::vector<Criterion>& all() const { return criteria_; }
    size_t size() const { return criteria_.size(); }
    // Position of a criterion on the wire; throws core::Error for a name not declared.
    size_t index(const std::string& name) const;
    // The call's arguments in wire order from values given by name: every criterion
    // exactly once; a missing or unknown name throws core::Error.
    std::vector<core::Variant> arguments(const std::map<std::string, core::Variant>& values) const;

private:
    std::string method_;
    std::vector<Criterion> criteria_;
};

}  // namespace records
