#include "appserver/record_query.h"

#include <set>

namespace appserver {

std::string recordSelect(const records::Record& record) {
    std::string columns;
    std::set<std::string> used;
    for (const auto& f : record.fields()) {
        if (!f.travels()) continue;
        if (!columns.empty()) columns += ", ";
        columns += record.readExpression(f);
        if (!f.stored() && !f.join.empty()) used.insert(f.join);
    }
    std::string from = record.table() + " " + record.alias();
    for (const auto& j : record.joins())
        if (used.count(j.alias)) from += " " + j.clause;
    return "SELECT " + columns + " FROM " + from;
}

namespace {
std::string recordQuery(const records::Record& record, const std::string& where, const std::string& orderBy) {
    std::string sql = recordSelect(record);
    if (!where.empty()) sql += " WHERE " + where;
    if (!orderBy.empty()) sql += " ORDER BY " + orderBy;
    return sql;
}
}  // namespace

core::Packet queryRecord(soci::session& db, const records::Record& record, const std::string& where,
                         const std::string& orderBy, Params params) {
    return queryPacket(db, record.packetFields(), recordQuery(record, where, orderBy), std::move(params));
}

core::Variant answerRecord(soci::session& db, const records::Record& record, const std::string& where,
                           const std::string& orderBy, Params params) {
    return answerPacket(db, record.packetFields(), recordQuery(record, where, orderBy), std::move(params));
}

}  // namespace appserver
