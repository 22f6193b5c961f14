#pragma once
#include <soci/soci.h>

#include <optional>
#include <string>

#include "core/datetime.h"

namespace appserver {

class Dialect;

namespace stock {

// A lot (or sub-lot; one blank for none) of a product in a branch.
struct Lot {
    std::string branch;
    std::string product;
    std::string lot;
    std::string subLot = " ";
};

// A store and a location inside it.
struct Place {
    std::string store;
    std::string location;
};

// What every MOVESTOQUE row of a posting records.
struct Posting {
    std::string number;              // NRLANCTOESTQ; empty takes the branch's next one
    core::DateTime date;             // DTMOVEST; a zero date is now
    std::string operatorCode;        // CDOPERADOR
    std::string request;             // NRAUDITORIA, when an analysis caused it
    std::string description;         // DSLANCTOEST
    std::optional<double> unitCost;  // VRCUSTOUNIT
};

// Code of the refusal when a store holds less of the lot than is taken out; the
// refusal's text starts with it and goes on in words naming the store.
inline constexpr const char* kShortage = "P_EST_IRREG";

// Every stock change goes through these, inside the caller's transaction, so a
// refusal rolls the whole call back. Positions change by one conditional update
// each, never read first: concurrent moves of one lot queue on the rows and none
// is lost. A position never goes below zero (compared to the thousandth); a
// missing destination position is created. Each answers the posting number used.

// Moves a quantity from one store and location to another: an out row ("S") and an
// in row ("E") under one posting number.
std::string move(soci::session& db, const Dialect& dialect, const Lot& lot, const Place& from, const Place& to,
                 double quantity, Posting posting = {});

// Puts a quantity into a store with no source (an entry row only).
std::string receive(soci::session& db, const Dialect& dialect, const Lot& lot, const Place& to, double quantity,
                    Posting posting = {});

// Takes a quantity out of a store with no destination (an out row only).
std::string withdraw(soci::session& db, const Dialect& dialect, const Lot& lot, const Place& from, double quantity,
                     Posting posting = {});

// The branch's next posting number ("0000000042"), after any already in MOVESTOQUE.
std::string nextPostingNumber(soci::session& db, const Dialect& dialect, const std::string& branch);

}  // namespace stock
}  // namespace appserver
