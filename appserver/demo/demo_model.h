#pragma once
#include <optional>
#include <string>
#include <vector>

#include <soci/soci.h>

// The demo factory's master data, kept in memory as well so the requests can be
// seeded consistently with it (item results judged against the same ranges the
// server uses).
namespace appserver::demo {

struct Product {
    std::string code;  // CDPRODUTO
    std::string tree;  // CDARVPROD, 10 digits on picture type 0
    std::string name;
    std::string unit;
    char type;              // M, E, P, A; R for laboratory reagents (stocked as raw material)
    double validityMonths;  // NRDIASVALANA
    bool contentRequired;   // IDTEOROBRIG
    double unitCost;
};
const std::vector<Product>& products();
const Product& productByTree(const std::string& tree);

struct Analysis {
    std::string code;  // CDINSPECAO
    std::string tree;  // CDARVINSPEC on picture type 12: 2, 4 or 7 digits
    std::string name;
    std::string responseType;  // VALR, TEXT, NADA (items only)
    std::string importance;    // IDATEITEINSP (items only)
    std::string unit;          // SGUNIDADE, at most 2 characters
};
const std::vector<Analysis>& analyses();
const Analysis& analysisByTree(const std::string& tree);

struct Response {
    int seq;
    std::string analysis;  // CDINSPECAO
    std::string code;      // CDRESPINSPEC
    std::string name;
    std::optional<double> points;  // none: a response that judges nothing (accepted)
    char kind;  // = > < M N D T, or 0 for a text response
    std::optional<double> low, high;
    std::string unit;
    std::optional<std::string> product, process, version;
};
const std::vector<Response>& responses();

// Rows that judge an item: the product-specific ones for the product, process and
// version when there are any, else the general ones (as the client decides).
std::vector<const Response*> applicableResponses(const std::string& analysis, const std::string& product,
                                                 const std::string& process, const std::string& version);

// Items (last-level analyses) of a product's profile for a process and version.
std::vector<const Analysis*> profileItems(const std::string& productCode, char process,
                                          const std::string& version);

struct Operator {
    std::string code, name, branch, sector;
};
const std::vector<Operator>& operators();
const Operator& operatorByCode(const std::string& code);

std::string sectorName(const std::string& code);

struct Supplier {
    std::string code, taxNumber, personType, tradeName;
};
const std::vector<Supplier>& suppliers();

// Seeding steps, in this order.
void seedPeople(soci::session& db);
void seedCatalogue(soci::session& db);
void seedStock(soci::session& db);
void seedRequests(soci::session& db);
void seedPlans(soci::session& db);  // analysis plans of the scheduled tasks

}  // namespace appserver::demo

namespace appserver::demo {

// Next stock posting number of a branch (MOVESTOQUE.NRLANCTOESTQ) within one seeding.
std::string nextStockPosting(soci::session& db, const std::string& branch);
// Store and location of a product's quarantine, released or rejected stock
// ('Q', 'L', 'R'); reagents live in the laboratory store whatever the kind.
std::pair<std::string, std::string> storeOf(const Product& product, char kind);

}  // namespace appserver::demo

namespace appserver::demo {

// Formula rows, resources, product descriptions, the justification trail and
// saved filter options of the demo requests (after seedRequests).
void seedRequestRecords(soci::session& db);

}  // namespace appserver::demo
