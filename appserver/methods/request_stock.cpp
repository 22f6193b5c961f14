// The stock side of saving a request: a conclusion moves the lot out of
// quarantine, a reopening moves it back.
#include "appserver/methods/request_stock.h"

#include <optional>

#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/quantity.h"

namespace appserver {

namespace {

using core::FieldType;

// The stores a product uses in a branch, each with the refusal its absence
// gets.
class ProductStores {
public:
    ProductStores(Call &c, const RequestLot &r) : material_(r.process == "M" || r.process == "E") {
        const auto rows = queryRows(
            c.db(),
            "SELECT CDALMOXARIFE, CDLOCALESTOQ, CDALMOXINSPR, CDLOCALINSPR, CDALMOXQUAR, CDLOCALQUAR, CDALMOXPRACA, "
            "CDLOCALPRACA, CDALMOXREPROV, CDLOCALREPROV FROM PRODFILIAL WHERE CDFILIAL = :f AND CDPRODUTO = :p",
            {r.lot.branch, r.lot.product});
        if (!rows.empty())
            for (const auto &v : rows[0]) columns_.push_back(v.isNull() ? std::string() : v.asString());
    }
    // Raw material and packaging wait in their receiving quarantine; products in
    // theirs.
    stock::Place quarantine() const {
        return material_ ? place(0, "P_ALMOXORIG_CAD") : place(4, "ALMOX_ORIG_PROD_INFO");
    }
    stock::Place released() const { return material_ ? place(2, "P_ALMOXDEST_CAD") : place(6, "ALMOX_DEST_PROD_INFO"); }
    stock::Place rejected() const { return place(8, "ALMOX_DEST_REPR_INFO"); }
    // Where a conclusion in `situation` ("4" or "5") puts the lot.
    stock::Place concludedIn(const std::string &situation) const { return situation == "5" ? rejected() : released(); }

private:
    stock::Place place(size_t at, const char *missing) const {
        if (columns_.size() < at + 2 || blank(columns_[at]) || blank(columns_[at + 1])) throw Refusal(missing);
        return {columns_[at], columns_[at + 1]};
    }
    bool material_;
    std::vector<std::string> columns_;
};

// The lot's position in one store and location; nothing when there is no row.
std::optional<double> position(Call &c, const stock::Lot &lot, const stock::Place &at) {
    const auto v = queryValue(c.db(),
                              "SELECT QTESTOQUE FROM POSESTOQUE WHERE CDFILIAL = :f AND CDALMOXARIFE = :a AND "
                              "CDLOCALESTOQ = :l AND CDPRODUTO = :p AND NRLOTEESTQ = :n AND NRSUBLOTE = :s",
                              {lot.branch, at.store, at.location, lot.product, lot.lot, lot.subLot}, FieldType::Float);
    if (v.isNull()) return std::nullopt;
    return v.asFloat();
}

}  // namespace

bool movesStockOnAnalysis(Call &c, const std::string &branch) {
    const auto usesLots =
        queryValue(c.db(), "SELECT IDUTILLOTE FROM PARAMFILIAL WHERE CDFILIAL = :f", {branch}).asString();
    if (usesLots != "S") return false;
    const auto where = queryValue(c.db(), "SELECT IDLIBLOTEEST FROM PARAMMAN WHERE CDFILIAL = :f", {branch});
    if (where.isNull() || blank(where.asString())) throw Refusal("LIBLOTEESTQ_INFO");
    return where.asString() == "1";
}

void moveConcludedLot(Call &c, const RequestLot &r, const std::string &situation, const stock::Posting &posting) {
    const ProductStores stores(c, r);
    const auto from = stores.quarantine();
    const auto to = stores.concludedIn(situation);
    const auto held = position(c, r.lot, from);
    if (!held) throw Refusal("N_POS_ESTOQUE");
    if (core::compareQuantity(*held, 0) <= 0) throw Refusal("SEMQTDE_ESTQ");
    stock::move(c.db(), c.dialect(), r.lot, from, to, *held, posting);
}

void moveReopenedLot(Call &c, const RequestLot &r, const std::string &concluded, const stock::Posting &posting) {
    const ProductStores stores(c, r);
    const auto from = stores.concludedIn(concluded);
    const auto to = stores.quarantine();
    const auto held = position(c, r.lot, from);
    if (!held || core::compareQuantity(*held, 0) <= 0) throw Refusal("EST_IRREGULAR");
    stock::move(c.db(), c.dialect(), r.lot, from, to, *held, posting);
}

}  // namespace appserver
