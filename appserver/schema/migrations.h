#pragma once
#include <string>
#include <vector>

namespace appserver {

// One step of the database schema. Statements are plain SQL accepted by both
// SQLite and PostgreSQL: unquoted upper-case names, VARCHAR/INTEGER/BIGINT/
// DOUBLE PRECISION/TEXT only. Date-times are DOUBLE PRECISION day counts
// (days since 1899-12-30, time as the fraction), as the client keeps them.
struct Migration {
    int version;
    std::string name;
    std::vector<std::string> statements;
};

// Every migration, in ascending version order.
const std::vector<Migration>& migrations();

}  // namespace appserver
