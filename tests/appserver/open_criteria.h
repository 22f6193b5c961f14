#pragma once
#include <map>
#include <string>
#include <vector>

#include "core/variant.h"
#include "records/request_criteria.h"

// GetAuditoria's arguments with no criterion restricting: every request of `branch`.
inline std::vector<core::Variant> openCriteria(const std::string& branch,
                                               std::map<std::string, core::Variant> changed = {}) {
    std::map<std::string, core::Variant> k;
    for (const auto& c : records::requestCriteria().all()) {
        switch (c.kind) {
            case records::CriterionKind::Date:
                k[c.name] = 0.0;
                break;
            case records::CriterionKind::AllMarker:
            case records::CriterionKind::CodeList:
                k[c.name] = "T";
                break;
            default:
                k[c.name] = "";
                break;
        }
    }
    k["CDFILIAL"] = branch;
    for (auto& [name, value] : changed) k[name] = value;
    return records::requestCriteria().arguments(k);
}
