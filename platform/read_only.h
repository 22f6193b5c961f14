#pragma once
#include <soci/soci.h>

#include <string>

namespace platform {

// The workstations never write directly: every write goes through the server, so
// a direct query's connection and transactions are kept read-only.

// Settings of a freshly opened direct-query connection that hold for its whole life.
void prepareReadOnlyConnection(soci::session& sql, const std::string& backend);

// One look-up's transaction, read-only where the database can be told so. It is
// always rolled back: nothing a look-up did is ever kept, even where the database
// has no read-only transaction.
class ReadOnlyTransaction {
public:
    ReadOnlyTransaction(soci::session& sql, const std::string& backend);
    ~ReadOnlyTransaction();
    ReadOnlyTransaction(const ReadOnlyTransaction&) = delete;
    ReadOnlyTransaction& operator=(const ReadOnlyTransaction&) = delete;

private:
    soci::session& sql_;
};

// Whether the database refused a statement because it tried to write.
bool isWriteRefusal(const soci::soci_error& e);

}  // namespace platform
