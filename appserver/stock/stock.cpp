#include "appserver/stock/stock.h"

#include "appserver/dialect/dialect.h"
#include "appserver/numbering.h"
#include "appserver/refusal.h"
#include "appserver/sql.h"
#include "core/error.h"
#include "core/quantity.h"

namespace appserver::stock {

namespace {

// Half a thousandth: quantities count to 3 decimals, so a store holding 0.3 gives
// out 0.1 + 0.2 whatever binary residue the sum carries.
constexpr double kHalfThousandth = 0.0005;

constexpr const char* kPositionKey =
    "CDFILIAL = :f AND CDALMOXARIFE = :a AND CDLOCALESTOQ = :l AND CDPRODUTO = :p AND NRLOTEESTQ = :n AND "
    "NRSUBLOTE = :s";

// Binds kPositionKey's values, in its order.
void addPositionKey(Params& params, const Lot& lot, const Place& place) {
    for (const auto& v : {lot.branch, place.store, place.location, lot.product, lot.lot, lot.subLot}) params.add(v);
}

void checkQuantity(double quantity) {
    if (!(core::quantityMillis(quantity) > 0))
        throw core::Error("Quantidade a movimentar no estoque deve ser maior que zero.");
}

void checkPlace(const Place& place) {
    if (place.store.empty() || place.location.empty())
        throw core::Error("Almoxarifado e local de estoque devem ser informados.");
}

// Takes the quantity out of a position in one conditional update; a store holding
// less (or no position at all) refuses the whole call. What is left within half a
// thousandth of zero is stored as zero, so an emptied position reads empty.
// Balances keep 6 decimals, so sums carry no binary residue.
void takeOut(soci::session& db, const Lot& lot, const Place& from, double quantity, core::DateTime date) {
    Params params{quantity, kHalfThousandth, quantity, date};
    addPositionKey(params, lot, from);
    params.add(quantity - kHalfThousandth);
    const auto touched = execute(db,
                                 "UPDATE POSESTOQUE SET QTESTOQUE = CASE WHEN QTESTOQUE - :q1 < :h THEN 0 "
                                 "ELSE ROUND(CAST(QTESTOQUE - :q2 AS NUMERIC), 6) END, DTULTMOVEST = :d WHERE " +
                                     std::string(kPositionKey) + " AND QTESTOQUE >= :least",
                                 std::move(params));
    if (touched != 1)
        throw Refusal(std::string(kShortage) + ": Não existe quantidade em estoque para o produto no almoxarifado " +
                      from.store + ". Transferência de estoque não foi realizada.");
}

// Adds the quantity to a position, creating it when missing. A concurrent call may
// create it between our update and insert: the insert then does nothing and the
// update, run again, finds the row.
void putIn(soci::session& db, const Lot& lot, const Place& to, double quantity, core::DateTime date,
           const std::optional<double>& unitCost) {
    auto add = [&] {
        Params p{quantity, date};
        addPositionKey(p, lot, to);
        return execute(
            db,
            "UPDATE POSESTOQUE SET QTESTOQUE = ROUND(CAST(QTESTOQUE + :q AS NUMERIC), 6), DTULTMOVEST = :d WHERE " +
                std::string(kPositionKey),
            std::move(p));
    };
    if (add() == 1) return;
    const core::Value cost = unitCost ? core::Value(*unitCost) : core::Value();
    Params p;
    addPositionKey(p, lot, to);
    p.add(quantity).add(cost).add(date);
    const auto inserted =
        execute(db,
                "INSERT INTO POSESTOQUE (CDFILIAL, CDALMOXARIFE, CDLOCALESTOQ, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, "
                "QTESTOQUE, VRCUSTOUNIT, DTULTMOVEST) VALUES (:f, :a, :l, :p, :n, :s, :q, :c, :d) "
                "ON CONFLICT (CDFILIAL, CDALMOXARIFE, CDLOCALESTOQ, CDPRODUTO, NRLOTEESTQ, NRSUBLOTE) DO NOTHING",
                std::move(p));
    if (inserted == 1) return;
    if (add() != 1) throw core::Error("Posição de estoque do lote " + lot.lot + " não pôde ser gravada.");
}

// One MOVESTOQUE row, numbered after the posting's rows already written.
void record(soci::session& db, const Lot& lot, const Place& place, const char* kind, double quantity,
            const Posting& posting) {
    const auto last = queryValue(db,
                                 "SELECT COALESCE(MAX(NRSEQMOVEST), 0) FROM MOVESTOQUE WHERE CDFILIAL = :f AND "
                                 "NRLANCTOESTQ = :n",
                                 {lot.branch, posting.number}, core::FieldType::Integer);
    auto text = [](const std::string& s) { return s.empty() ? core::Value() : core::Value(s); };
    execute(db,
            "INSERT INTO MOVESTOQUE (CDFILIAL, NRLANCTOESTQ, NRSEQMOVEST, IDTPMOVEST, CDALMOXARIFE, CDLOCALESTOQ, "
            "CDPRODUTO, NRLOTEESTQ, NRSUBLOTE, QTMOVEST, VRCUSTOUNIT, DTMOVEST, CDOPERADOR, NRAUDITORIA, DSLANCTOEST) "
            "VALUES (:f, :n, :q, :t, :a, :l, :p, :lo, :s, :qt, :c, :d, :o, :r, :ds)",
            {lot.branch, posting.number, static_cast<int64_t>(last.asInteger() + 1), std::string(kind), place.store,
             place.location, lot.product, lot.lot, lot.subLot, quantity,
             posting.unitCost ? core::Value(*posting.unitCost) : core::Value(), posting.date,
             text(posting.operatorCode), text(posting.request), text(posting.description)});
}

// The posting with its number and date filled in.
Posting completed(soci::session& db, const Dialect& dialect, const Lot& lot, Posting posting) {
    if (lot.branch.empty() || lot.product.empty() || lot.lot.empty())
        throw core::Error("Filial, produto e lote da movimentação de estoque devem ser informados.");
    if (posting.number.empty()) posting.number = nextPostingNumber(db, dialect, lot.branch);
    if (posting.date.days <= 0) posting.date = core::DateTime::now();
    return posting;
}

bool samePlace(const Place& a, const Place& b) { return a.store == b.store && a.location == b.location; }

bool before(const Place& a, const Place& b) {
    return a.store < b.store || (a.store == b.store && a.location < b.location);
}

}  // namespace

std::string nextPostingNumber(soci::session& db, const Dialect& dialect, const std::string& branch) {
    return zeroPadded(
        nextNumber(db, branch, "MOVESTOQUE",
                   [&] {
                       return dialect.highestNumber(db, "MOVESTOQUE", "NRLANCTOESTQ", {{"CDFILIAL", branch}});
                   }),
        10);
}

std::string move(soci::session& db, const Dialect& dialect, const Lot& lot, const Place& from, const Place& to,
                 double quantity, Posting posting) {
    checkQuantity(quantity);
    checkPlace(from);
    checkPlace(to);
    if (samePlace(from, to)) throw core::Error("Almoxarifado e local de origem e de destino são os mesmos.");
    posting = completed(db, dialect, lot, std::move(posting));
    // Both positions are locked in one order whatever the direction, so two moves
    // of one lot in opposite directions queue instead of deadlocking.
    if (before(from, to)) {
        takeOut(db, lot, from, quantity, posting.date);
        putIn(db, lot, to, quantity, posting.date, posting.unitCost);
    } else {
        putIn(db, lot, to, quantity, posting.date, posting.unitCost);
        takeOut(db, lot, from, quantity, posting.date);
    }
    record(db, lot, from, "S", quantity, posting);
    record(db, lot, to, "E", quantity, posting);
    return posting.number;
}

std::string receive(soci::session& db, const Dialect& dialect, const Lot& lot, const Place& to, double quantity,
                    Posting posting) {
    checkQuantity(quantity);
    checkPlace(to);
    posting = completed(db, dialect, lot, std::move(posting));
    putIn(db, lot, to, quantity, posting.date, posting.unitCost);
    record(db, lot, to, "E", quantity, posting);
    return posting.number;
}

std::string withdraw(soci::session& db, const Dialect& dialect, const Lot& lot, const Place& from, double quantity,
                     Posting posting) {
    checkQuantity(quantity);
    checkPlace(from);
    posting = completed(db, dialect, lot, std::move(posting));
    takeOut(db, lot, from, quantity, posting.date);
    record(db, lot, from, "S", quantity, posting);
    return posting.number;
}

}  // namespace appserver::stock
