#pragma once
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <soci/soci.h>

#include "appserver/database.h"

namespace appserver {

// What the database says about one column; read from the live schema through the
// dialect, so it always matches whatever the migrations built.
struct ColumnInfo {
    std::string name;  // as the table declares it, upper case
    enum class Kind { Text, Integer, Real, Blob } kind = Kind::Text;
    int size = 0;  // characters for text columns; 0 = no limit
};

struct TableInfo {
    std::string name;
    std::vector<ColumnInfo> columns;
    const ColumnInfo* column(const std::string& name) const;  // case-insensitive; nullptr when absent
};

// Column descriptions per table, cached: the schema only changes at start.
class Catalog {
public:
    explicit Catalog(const Dialect& dialect) : dialect_(dialect) {}
    // Throws core::Error when the table does not exist or the name is not a plain identifier.
    const TableInfo& table(soci::session& db, const std::string& name);
    void clear();

private:
    const Dialect& dialect_;
    std::mutex mutex_;
    std::map<std::string, TableInfo> tables_;
};

// Plain SQL identifier (letters, digits, underscore; not starting with a digit).
bool isIdentifier(const std::string& name);

}  // namespace appserver
