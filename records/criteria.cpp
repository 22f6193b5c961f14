#include "records/criteria.h"

#include "core/error.h"

namespace records {

Criteria::Criteria(std::string method, std::vector<Criterion> criteria)
    : method_(std::move(method)), criteria_(std::move(criteria)) {}

size_t Criteria::index(const std::string& name) const {
    for (size_t i = 0; i < criteria_.size(); ++i)
        if (criteria_[i].name == name) return i;
    throw core::Error("Critério " + name + " não declarado em " + method_ + ".");
}

std::vector<core::Variant> Criteria::arguments(const std::map<std::string, core::Variant>& values) const {
    for (const auto& [name, value] : values) index(name);
    std::vector<core::Variant> args;
    args.reserve(criteria_.size());
    for (const auto& c : criteria_) {
        auto it = values.find(c.name);
        if (it == values.end()) throw core::Error("Critério " + c.name + " de " + method_ + " não informado.");
        args.push_back(it->second);
    }
    return args;
}

}  // namespace records
