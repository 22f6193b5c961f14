#pragma once
#include <string>
#include <vector>

#include "request_save_fixture.h"

namespace savetest {

// The items tab of the demo factory's requests: the inspection grid entered, a new
// inspection added through it, and what the database holds of an inspection.
class InspectionFlow : public SaveFlow {
protected:
    core::RecordSet& i() { return s().cdsInspecAudit; }
    core::RecordSet& items() { return s().cdsItemInsAudit; }
    platform::Control& g() { return s().comps["dbgInspecAudit"]; }

    // The request current and its inspections on the items tab, the grid entered.
    void openInspections(int n) {
        ASSERT_TRUE(go(n));
        ASSERT_TRUE(platform::runHandler([&] { s().comps.selectTab("pgcPadrao", "tshItemAna"); }));
        s().comps.setFocus("dbgInspecAudit");
        g().onEnter();
        host.clear();
    }
    // The user moves to a column of the grid: the one left runs its exit rules first.
    bool toColumn(const char* field) {
        return platform::runHandler([&] {
            g().onColExit();
            g().selectedColumn = platform::IndiceCol(g(), field);
            g().onColEnter();
        });
    }
    bool key(platform::Key k) {
        platform::Key copy = k;
        bool passed = true;
        platform::runHandler([&] { passed = platform::raiseKey(g(), copy); });
        return passed;
    }
    std::string inspectionValue(int n, const std::string& nrInspec, const std::string& column) {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB = "SELECT " + column +
                                                        " AS V FROM INSPECAUDIT WHERE CDFILIAL = '0001' AND "
                                                        "NRAUDITORIA = '" +
                                                        nr(n) + "' AND NRINSPECAUDI = '" + nrInspec + "'";
        q.Open();
        if (q.isEmpty()) return "<none>";
        return q.fieldAt(0).isNull() ? std::string() : q.fieldAt(0).asString();
    }
    std::vector<std::string> itemCodes() {
        std::vector<std::string> codes;
        for (int r = 0; r < items().recordCount(); ++r) codes.push_back(items().valueAt(r, "CDARVINSPEC").asString());
        return codes;
    }
    // A new inspection of "0101" on request 2, picked through the ellipsis and saved
    // with the operator's justification.
    void addInspection() {
        openInspections(2);
        ASSERT_TRUE(click("sbtIncluir"));
        host.picks.push_back({0});
        ASSERT_TRUE(platform::runHandler([&] { g().onEditButtonClick(); }));
        answerDialog(true);
        ASSERT_TRUE(confirm()) << lastError();
        host.clear();
        opened.clear();
    }
    core::DateTime requestTime() { return f("DTINCLAUDIT").asDateTime(); }
};

}  // namespace savetest
