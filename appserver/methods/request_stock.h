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

// A reopened request's lot back to quarantine from where its conclusion ("4"
// released, "5" rejected) put it; "EST_IRREGULAR" when nothing of it is left
// there (it was used since).
void moveReopenedLot(Call &c, const RequestLot &r, const std::string &concluded, const stock::Posting &posting);

}  // namespace appserver
