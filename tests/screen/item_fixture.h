#pragma once
#include <string>

#include "inspection_fixture.h"

namespace savetest {

// Analyses of the demo's tree, by their keys.
constexpr const char* kPurity = "0000000004";    // 0101002, VALR
constexpr const char* kMoisture = "0000000005";  // 0101003, VALR
constexpr const char* kAspect = "0000000006";    // 0101004, TEXT

class ItemFlow : public InspectionFlow {
protected:
    platform::Control& ig() { return s().comps["dbgItem"]; }

    // The request's inspection current and the items grid entered.
    void openItems(int n, const char* inspection = "001") {
        openInspections(n);
        ASSERT_TRUE(i().locate("NRINSPECAUDI", core::Value(inspection)));
        s().comps.setFocus("dbgItem");
        ig().onEnter();
        host.clear();
    }
    // A new inspection of "0101" on request 2 (items 0101002-4), its items grid entered.
    void newInspectionItems() {
        addInspection();
        s().comps.setFocus("dbgItem");
        ig().onEnter();
        host.clear();
    }
    bool toItem(const char* tree) { return items().locate("CDARVINSPEC", core::Value(tree)); }
    bool column(const char* field) {
        if (ig().selectedField() == field) return true;
        return platform::runHandler([&] {
            ig().onColExit();
            ig().selectedColumn = platform::IndiceCol(ig(), field);
            ig().onColEnter();
        });
    }
    // Types into a cell of the current item, as the grid's editor writes it, and leaves it.
    bool type(const char* field, const std::string& typed) {
        if (!column(field)) return false;
        return platform::runHandler([&] {
                   if (items().state() == core::DataSetState::Browse) items().edit();
                   items().field(field).setText(typed);
               }) &&
               platform::runHandler([&] { ig().onColExit(); });
    }
    std::string item(const std::string& column, const char* analysis, const std::string& request = nr(2)) {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
            "SELECT " + column + " AS V FROM ITEMINSAUDIT WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + request +
            "' AND CDINSPECAO = '" + analysis + "'";
        q.Open();
        if (q.isEmpty()) return "<none>";
        return q.fieldAt(0).isNull() ? std::string() : q.fieldAt(0).asString();
    }
    std::string value(const char* field) { return items().field(field).asString(); }
};

}  // namespace savetest
