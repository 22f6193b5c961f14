#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/format.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/request_filter.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "platform/query.h"
#include "platform/scripted_host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/side_dialogs.h"
#include "support/form_input.h"
#include "support/screen_fixture.h"

namespace filtertest {

using testsupport::click;
using testsupport::leave;
using testsupport::type;

using Dialog = cli_mxa07301::TfrmFiltroPedido;

// The analysis screen as the module entry makes it, over the real server with the
// demo data, and the request filter opened through the screen's hook.
class RequestFilterFlow : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startModule();
        createScreen();
    }
    void TearDown() override {
        screen::sideDialogs().LiberaFiltroPedido();
        ScreenFixture::TearDown();
    }

    screen::TfrmPedidoAna& screen() { return *screen_; }
    core::RecordSet& list() { return screen_->cdsAuditoria; }

    // Opens the filter; `play` acts on it as the user would.
    void open(std::function<void(Dialog&)> play) {
        host.dialogs.push_back([play](platform::Form& f) { play(static_cast<Dialog&>(f)); });
        screen::sideDialogs().CriaFiltroPedido();
    }

    static void check(platform::Form& f, const std::string& box, bool on) {
        f.comps[box].checked = on;
        if (f.comps[box].onClick) f.comps[box].onClick();
    }
    static std::string date(int daysFromToday) {
        return core::formatDateTime("dd/mm/yyyy", core::DateTime::now().datePart().plusDays(daysFromToday));
    }

    // Request numbers of branch 0001 an independent query finds.
    static std::set<std::string> requestsWhere(const std::string& where) {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
            "SELECT NRAUDITORIA FROM AUDITORIA WHERE CDFILIAL = '0001' AND " + where;
        q.Open();
        std::set<std::string> out;
        for (q.first(); !q.eof(); q.next()) out.insert(q.fieldAt(0).asString());
        return out;
    }
    std::set<std::string> listed() {
        std::set<std::string> out;
        for (int i = 0; i < list().recordCount(); ++i)
            out.insert(list().valueAt(i, "NRAUDITORIA").asString());
        return out;
    }
    // Row of a sector in the sector lookup (ordered by code).
    static int sectorRow(const std::string& code) {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB = "SELECT CDSETOR FROM SETOR ORDER BY CDSETOR";
        q.Open();
        int row = 0;
        for (q.first(); !q.eof(); q.next(), ++row)
            if (q.fieldAt(0).asString() == code) return row;
        return -1;
    }
};

}  // namespace filtertest
