#pragma once
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <soci/soci.h>

// Small helpers the demo seeding shares: one-row inserts with bound values, dates
// relative to today and argon2id hashes.
namespace appserver::demo {

using Value = std::variant<std::monostate, std::string, double, int>;

// INSERT of one row with every value bound; a monostate (or an empty optional)
// binds NULL. Column order is the order of the calls.
class Row {
public:
    Row(soci::session& db, std::string table) : db_(db), table_(std::move(table)) {}
    Row& s(const std::string& column, const std::string& value);
    Row& s(const std::string& column, const char* value) { return s(column, std::string(value)); }
    Row& s(const std::string& column, const std::optional<std::string>& value);
    Row& d(const std::string& column, double value);
    Row& d(const std::string& column, const std::optional<double>& value);
    Row& i(const std::string& column, int value);
    Row& null(const std::string& column);
    void insert();

private:
    soci::session& db_;
    std::string table_;
    std::vector<std::pair<std::string, Value>> values_;
};

// Day count of today at midnight (days since 1899-12-30), fixed for one seeding.
double today();
// today() + days, at hour:minute.
double dayAt(int days, int hour = 0, int minute = 0);
// "dd/mm/yyyy" of a day count.
std::string dateText(double days);

// argon2id hash (libsodium, interactive limits); each distinct password is
// hashed once per process.
std::string passwordHash(const std::string& password);

// "0000000012" for (12, 10).
std::string padded(long long number, int width);

}  // namespace appserver::demo
