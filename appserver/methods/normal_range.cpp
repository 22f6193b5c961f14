#include "appserver/methods/normal_range.h"

#include "appserver/method_table.h"
#include "appserver/sql.h"
#include "core/format.h"

namespace appserver {

using core::FieldType;

std::string catalogueVersion(const std::string& version) { return blank(version) ? "x" : trimmed(version); }

std::optional<std::string> normalRange(soci::session& db, const std::string& analysis,
                                       const std::string& responseProduct, const std::string& process,
                                       const std::string& version, const RangeWords& words) {
    const std::string versionText = catalogueVersion(version);
    const std::string columns = "SELECT IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES FROM RESPOSINSPEC WHERE ";
    const std::string own = kProductRows;
    const std::vector<FieldType> types = {FieldType::String, FieldType::Float, FieldType::Float};
    std::vector<std::vector<core::Value>> rows;
    const bool productRows =
        !blank(responseProduct) && queryValue(db, "SELECT COUNT(*) FROM RESPOSINSPEC WHERE " + own,
                                              {analysis, responseProduct, process, versionText}, FieldType::Integer)
                                           .asInteger() > 0;
    if (productRows)
        rows = queryRows(db, columns + own + " AND VRPONTRESINS = 0 ORDER BY CDRESPINSPEC, NRSEQRESPINSP",
                         {analysis, responseProduct, process, versionText}, types);
    else
        rows =
            queryRows(db, columns + "CDINSPECAO = :a AND CDPRODUTO IS NULL AND VRPONTRESINS = 0 ORDER BY NRSEQRESPINSP",
                      {analysis}, types);
    if (rows.empty()) return std::nullopt;
    const auto bound = [](const core::Value& v) {
        return v.isNull() ? std::nullopt : std::optional<double>(v.asFloat());
    };
    return normalRangeText(rows[0][0].isNull() ? std::string() : rows[0][0].asString(), bound(rows[0][1]),
                           bound(rows[0][2]), words);
}

}  // namespace appserver
