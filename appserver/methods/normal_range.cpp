#include "appserver/methods/normal_range.h"

#include "appserver/method_table.h"
#include "appserver/sql.h"
#include "core/format.h"

namespace appserver {

using core::FieldType;

std::string utf8Prefix(const std::string& text, size_t size) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == size) return text.substr(0, i);
    }
    return text;
}

std::optional<std::string> normalRangeText(const std::string& kind, std::optional<double> low,
                                           std::optional<double> high, const RangeWords& words) {
    if (!low) return std::nullopt;
    const auto number = [](double v) { return core::formatFloat("", v); };
    std::string text;
    if (kind == "=") {
        // A between-range without its upper bound says only where it starts.
        text = words.between + number(*low) + (high ? words.conjunction + number(*high) : std::string());
    } else if (kind == ">") {
        text = words.greater + number(*low);
    } else if (kind == "<") {
        text = words.less + number(*low);
    } else if (kind == "M") {
        text = words.atLeast + number(*low);
    } else if (kind == "N") {
        text = words.atMost + number(*low);
    } else if (kind == "D") {
        text = "Indetectável";
    } else if (kind == "T") {
        text = "Incontável";
    } else {
        return std::nullopt;
    }
    // The server writes these words itself from the words the screen sends, so a
    // long wording is cut to the column rather than refusing the whole save.
    return utf8Prefix(text, kNormalRangeSize);
}

std::optional<std::string> normalRange(soci::session& db, const std::string& analysis,
                                       const std::string& responseProduct, const std::string& process,
                                       const std::string& version, const RangeWords& words) {
    const std::string versionText = blank(version) ? std::string("x") : version;
    const std::string columns = "SELECT IDFAIXRESINS, VRINIFAIXRES, VRFINFAIXRES FROM RESPOSINSPEC WHERE ";
    const std::string own = "CDINSPECAO = :a AND CDPRODUTO = :p AND IDRESPPROC = :t AND COALESCE(CDVERSAO, 'x') = :v";
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
