#pragma once
#include <soci/soci.h>

#include <optional>
#include <string>

#include "core/normal_range.h"

// The normal range of the items the server creates and of the demo's, in the words
// core/normal_range.h composes for the screen too.
namespace appserver {

using core::normalRangeText;
using core::RangeWords;
using core::utf8Prefix;

// The response catalogue's rows of a product for a process and version: a condition
// on RESPOSINSPEC binding :a the analysis, :p the product, :t the process and :v the
// version as catalogueVersion writes it.
inline constexpr const char* kProductRows =
    "CDINSPECAO = :a AND CDPRODUTO = :p AND IDRESPPROC = :t AND COALESCE(CDVERSAO, 'x') = :v";
// A version as the catalogue matches it: rows for any version hold "x".
std::string catalogueVersion(const std::string& version);

// The normal range of an analysis for a request: the response product's own rows
// for the process and version when it has any (the first of them with 0 points, by
// response code), else the first general row with 0 points in the catalogue's order.
std::optional<std::string> normalRange(soci::session& db, const std::string& analysis,
                                       const std::string& responseProduct, const std::string& process,
                                       const std::string& version, const RangeWords& words);

}  // namespace appserver
