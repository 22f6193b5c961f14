// The stock side of saving a request: a conclusion moves the lot out of
// quarantine, a reopening moves it back.
#include "appserver/methods/request_stock.h"

#include <optional>

#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/format.h"
#include "core/quantity.h"
#include "core/value.h"

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

// The lot's quarantine position, refused when there is none or it is empty.
double heldInQuarantine(Call &c, const stock::Lot &lot, const stock::Place &quarantine) {
    const auto held = position(c, lot, quarantine);
    if (!held) throw Refusal("N_POS_ESTOQUE");
    if (core::compareQuantity(*held, 0) <= 0) throw Refusal("SEMQTDE_ESTQ");
    return *held;
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
    stock::move(c.db(), c.dialect(), r.lot, from, to, heldInQuarantine(c, r.lot, from), posting);
}

void splitConcludedLot(Call &c, const RequestLot &r, const std::string &request, const PartialSplit &split,
                       const stock::Posting &posting) {
    if (core::compareQuantity(split.approved, 0) < 0 || core::compareQuantity(split.rejected, 0) < 0)
        throw core::Error("Quantidade aprovada ou reprovada não pode ser negativa. Aprovação parcial não realizada.");
    const ProductStores stores(c, r);
    const auto quarantine = stores.quarantine();
    const auto released = stores.released();
    const auto rejectedStore = stores.rejected();
    const double held = heldInQuarantine(c, r.lot, quarantine);
    if (core::compareQuantity(split.approved + split.rejected, held) != 0)
        throw core::Error("Quantidade aprovada mais reprovada (" +
                          core::formatFloat("#,##0.000", split.approved + split.rejected) +
                          ") difere da quantidade do lote em quarentena (" + core::formatFloat("#,##0.000", held) +
                          "). Aprovação parcial não realizada.");
    stock::Lot part = r.lot;
    part.subLot = trimmed(split.newSubLot);
    if (part.subLot.empty()) throw core::Error("Sub lote da quantidade reprovada deve ser informado.");
    if (core::utf8Length(part.subLot) > 4) throw core::Error("Sub lote deve ter até 4 caracteres.");
    const auto lotKey = [](const stock::Lot &l) { return Params{l.branch, l.product, l.lot, l.subLot}; };
    const char *whereLot = " WHERE CDFILIAL = :f AND CDPRODUTO = :p AND NRLOTEESTQ = :l AND NRSUBLOTE = :s";
    if (queryValue(c.db(), std::string("SELECT COUNT(*) FROM LOTE") + whereLot, lotKey(part), FieldType::Integer)
            .asInteger() > 0)
        throw core::Error("Sub lote " + part.subLot + " do lote " + r.lot.lot + " já existe.");

    if (core::compareQuantity(split.approved, 0) > 0)
        stock::move(c.db(), c.dialect(), r.lot, quarantine, released, split.approved, posting);
    if (core::compareQuantity(split.rejected, 0) > 0) {
        // The rejected part leaves the lot and enters the new sub-lot as one posting.
        const auto copied = execute(
            c.db(),
            "INSERT INTO LOTE (CDFILIAL, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, NRLOTEFORN, CDFORNECED, NRLANCTONF, "
            "NRORDPROD, NRSUBORDPROD, CDMARCA, DTFABRPROD, DTVALILOTE, DTVALIANALOTE, IDSITLOTE, QTPRODLOTE, "
            "VRAPROVPROD, DTINCLUSAO, NRSUBLOTEORIG) SELECT CDFILIAL, CDPRODUTO, NRLOTEESTQ, CAST(:n AS VARCHAR(4)), "
            "NRLOTEFORN, "
            "CDFORNECED, NRLANCTONF, NRORDPROD, NRSUBORDPROD, CDMARCA, DTFABRPROD, DTVALILOTE, DTVALIANALOTE, 'R', "
            "CAST(:q AS DOUBLE PRECISION), 0, DTINCLUSAO, NRSUBLOTE FROM LOTE" +
                std::string(whereLot),
            {part.subLot, split.rejected, r.lot.branch, r.lot.product, r.lot.lot, r.lot.subLot});
        if (copied != 1) throw core::Error("Lote " + r.lot.lot + " não cadastrado. Aprovação parcial não realizada.");
        stock::Posting pair = posting;
        pair.number = stock::withdraw(c.db(), c.dialect(), r.lot, quarantine, split.rejected, pair);
        stock::receive(c.db(), c.dialect(), part, rejectedStore, split.rejected, pair);
    }
    execute(c.db(), std::string("UPDATE LOTE SET IDSITLOTE = 'L'") + whereLot, lotKey(r.lot));
    execute(c.db(),
            "UPDATE AUDITORIA SET QTESTQAPROVA = :a, QTESTQREPROVA = :r, NRSUBLOTEPARC = :s WHERE CDFILIAL = :f AND "
            "NRAUDITORIA = :n",
            {split.approved, split.rejected, part.subLot, r.lot.branch, request});
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
