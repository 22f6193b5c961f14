#pragma once
#include <map>
#include <string>

#include "core/recordset.h"

namespace platform {

// The host's direct-query component: one statement in four dialect texts; the
// text of the connected database runs (SQLite and PostgreSQL run `SQL`), with its
// named parameters (":P_X") always bound, never pasted into the text. The rows
// fill the query's own record set.
class TADOIBQuery : public core::RecordSet {
public:
    explicit TADOIBQuery(std::string name = {});
    ~TADOIBQuery();

    std::string SQL, SQL_ORACLE, SQL_MSSQL, SQL_IB;

    // Parameter value by name (without the colon); a null Value binds SQL NULL.
    core::Value& ParamByName(const std::string& name);
    void clearParams();

    // The dialect text for the connected database's backend.
    const std::string& activeText() const;
    // Runs the statement and opens the set with its rows (the set's declared
    // fields, when any, give types and sizes; others come from the result).
    // It runs in a read-only transaction: a statement that tries to write is
    // refused. Throws core::Error with the database's message on failure.
    void Open();

private:
    std::map<std::string, core::Value> params_;
};

// The database the direct queries run on: the session's backend and connect
// string (platform::session()). Sessions are pooled per thread of use.
void resetQueryDatabase();  // drops pooled sessions (after the session changes)

}  // namespace platform
