#pragma once
#include <string>

#include "appserver/method_table.h"
#include "appserver/stock/stock.h"

namespace appserver {

// The lot a request analyses and the process it was taken in ("M", "E", "P",
// "A").
struct RequestLot {
    stock::Lot lot;
    std::string process;
};

// Whether the branch moves a concluded lot between quarantine and the released
// store when the analysis is saved: the branch controls lots (PARAMFILIAL) and
// its production parameters say the move belongs to the analysis (PARAMMAN
// IDLIBLOTEEST "1"). Refuses "LIBLOTEESTQ_INFO" when they say nothing.
bool movesStockOnAnalysis(Call &c, const std::string &branch);

// A concluded request's lot, all of it, from quarantine to the released store,
// or to the rejected one for situation "5". Refuses with the code of a store
// the product lacks, "N_POS_ESTOQUE" when quarantine holds no position of the
// lot and "SEMQTDE_ESTQ" when it holds none of it.
void moveConcludedLot(Call &c, const RequestLot &r, const std::string &situation, const stock::Posting &posting);

// What a partial approval asks of a conclusion: the approved part is released,
// the rejected part becomes a new sub-lot of the lot.
struct PartialSplit {
    double approved = 0;
    double rejected = 0;
    std::string newSubLot;
};

// A concluded request's lot split as the partial approval says, instead of moving
// it whole: the approved quantity from quarantine to the released store, the
// rejected one out of the lot's quarantine position and into the rejected store
// as the new sub-lot (a LOTE row copied from the lot, rejected, recording the
// sub-lot it came from), both under one posting number. The lot becomes released
// and the request keeps the quantities and the sub-lot. Refuses, in words, a
// negative quantity, quantities that do not add up to the quarantine position (to
// the thousandth), and a blank or existing sub-lot; the stores' and positions'
// refusals are those of moveConcludedLot.
void splitConcludedLot(Call &c, const RequestLot &r, const std::string &request, const PartialSplit &split,
                       const stock::Posting &posting);

// A reopened request's lot back to quarantine from where its conclusion ("4"
// released, "5" rejected) put it; "EST_IRREGULAR" when nothing of it is left
// there (it was used since).
void moveReopenedLot(Call &c, const RequestLot &r, const std::string &concluded, const stock::Posting &posting);

}  // namespace appserver
