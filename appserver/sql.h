#pragma once
#include <soci/soci.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/packet.h"
#include "core/variant.h"

namespace appserver {

// Values bound to a statement's placeholders (":name" or ":1"), in the order they
// appear. Date-times bind as their day count, booleans as 0/1, null as NULL.
class Params {
public:
    Params() = default;
    Params(std::initializer_list<core::Value> values);
    Params& add(const core::Value& v);
    size_t size() const { return count_; }
    const std::vector<core::Value>& values() const { return values_; }
    // Hands the bound values to a statement under construction.
    void bindTo(soci::details::prepare_temp_type& st);

private:
    std::deque<std::string> texts_;
    std::deque<long long> integers_;
    std::deque<double> reals_;
    std::deque<soci::indicator> indicators_;
    std::vector<core::Value> values_;
    size_t count_ = 0;
};

// Runs a statement that returns no rows; answers the number of rows it touched.
long long execute(soci::session& db, const std::string& sql, Params params = {});

// Runs a statement without parameters or rows (BEGIN, COMMIT): on SQLite through the
// connection's kept statements, so a call's transaction is not parsed anew each time.
void run(soci::session& db, const std::string& sql);

// Runs a query and answers its rows, each column converted to `types[i]` (columns
// beyond `types` come as the database gives them).
std::vector<std::vector<core::Value>> queryRows(soci::session& db, const std::string& sql, Params params = {},
                                                const std::vector<core::FieldType>& types = {});

// Runs a query into a data packet whose fields are `fields`, column by column.
core::Packet queryPacket(soci::session& db, const std::vector<core::FieldDef>& fields, const std::string& sql,
                         Params params = {});

// queryPacket for a method's answer as it stands: on SQLite its rows go straight from
// the database into the binary wire form, never held as values in between.
core::Variant answerPacket(soci::session& db, const std::vector<core::FieldDef>& fields, const std::string& sql,
                           Params params = {});

// The first column of the first row, or null when there is none.
core::Value queryValue(soci::session& db, const std::string& sql, Params params = {},
                       core::FieldType type = core::FieldType::String);

// Field definitions in short: {"CDFILIAL", String, 4}.
core::FieldDef field(std::string name, core::FieldType type = core::FieldType::String, int size = 0,
                     bool inKey = false);

}  // namespace appserver
