#pragma once
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "appserver/method_table.h"
#include "core/format.h"
#include "platform/form.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "platform/query.h"
#include "platform/scripted_host.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state.h"
#include "support/form_input.h"
#include "support/screen_fixture.h"

namespace savetest {

// What the server received in each SetAuditoria.
struct SaveRecorder {
    std::vector<std::vector<core::Variant>> calls;
};

// The demo factory on the real server, the screen created as the module creates it
// and the head office's requests listed, as the filter lists them.
class SaveFlow : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startModule(true);
        openScreen();
    }

    void openScreen() {
        auto& form = newScreen();
        screen::frmPedidoAna = &form;
        form.FormCreate();
        reload();
    }

    // The list again from the server, as a new filter brings it.
    void reload() {
        const auto packet =
            testsupport::call("GetAuditoria", {"", "T", "", "T", "", "T", "T", "", "", "T", core::DateTime{},
                                               core::DateTime{}, "", "T", "", "T", "0001", "T"});
        ASSERT_TRUE(packet.result.isPacket()) << packet.result.error;
        a().setData(*packet.result.packet);
        host.clear();
    }

    static std::string nr(int n) { return fmt::format("{:010d}", n); }


    // Makes the request current and shows its hours in the hour boxes, as the screen does.
    bool go(int n) {
        if (!a().locate("NRAUDITORIA", core::Value(nr(n)))) return false;
        showHours();
        return true;
    }
    void showHours() { screen::showHourBoxes(s()); }

    // The user picks a situation in the header's list.
    void pickSituation(const std::string& code) {
        if (a().state() == core::DataSetState::Browse) a().edit();
        f("IDSTATUSAUDI").setText(s().msgPadrao.Msg(code));
        s().comps["dbcSit"].onChange();
    }

    // The toolbar's confirm; false when the post was refused.
    bool confirm() {
        return platform::runHandler([&] { s().sbtConfirmarClick(); });
    }

    // One value as the database holds it ("" for null).
    static std::string stored(int n, const std::string& column) {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
            "SELECT " + column + " AS V FROM AUDITORIA WHERE CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(n) + "'";
        q.Open();
        if (q.isEmpty()) return "<none>";
        return q.fieldAt(0).isNull() ? std::string() : q.fieldAt(0).asString();
    }
    static long long count(const std::string& sql) {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB = sql;
        q.Open();
        return q.fieldAt(0).asInteger();
    }

    // The next side dialog: its caption is kept; granted plays the operator, password
    // and justification it needs, otherwise it is cancelled.
    void answerDialog(bool grant, const std::string& oper = "DEMO", const std::string& senha = "demo") {
        host.dialogs.push_back([this, grant, oper, senha](platform::Form& d) {
            opened.push_back(d.caption);
            if (!grant) {
                d.ModalResult = platform::mrCancel;
                return;
            }
            const auto fill = [&d](const char* name, const std::string& text) {
                const auto* c = d.comps.find(name);
                if (c && c->visible && c->enabled) testsupport::type(d, name, text);
            };
            fill("edtOperador", oper);
            fill("edtSenha", senha);
            fill("edtJus", "5");
            testsupport::click(d, "sbtConfirma");
        });
    }

    std::vector<std::string> errors() const {
        std::vector<std::string> out;
        for (const auto& m : host.messages)
            if (m.type == platform::MsgType::Error) out.push_back(m.text);
        return out;
    }
    std::string lastError() const {
        const auto e = errors();
        return e.empty() ? std::string() : e.back();
    }

    // Replaces a server method for this test.
    void serverMethod(const std::string& name, appserver::Method m) {
        server_->server().methods().add(appserver::kModule, name, std::move(m));
    }

    // SetAuditoria replaced by one that keeps its arguments, writes the by-reference
    // ones back as `out` says and saves nothing.
    std::shared_ptr<SaveRecorder> recordSaves(std::vector<std::pair<int, core::Variant>> out = {}) {
        auto rec = std::make_shared<SaveRecorder>();
        serverMethod("SetAuditoria", [rec, out](appserver::Call& c) -> core::Variant {
            std::vector<core::Variant> args;
            for (size_t i = 0; i < c.argCount(); ++i) args.push_back(c.arg(i));
            rec->calls.push_back(std::move(args));
            for (const auto& [i, v] : out) c.setOut(i, v);
            return core::Variant();
        });
        return rec;
    }

    // A new request as the include button starts it, filled as the user fills it.
    void fillNewRequest(const std::string& description = "Pedido de teste") {
        ASSERT_TRUE(click("sbtIncluir"));
        f("CDARVPROD").setValue("1010010001");
        ASSERT_TRUE(testsupport::leave(s(), "dbeProduto"));
        f("IDTPAUDITADO").setText("Matéria Prima");
        f("DSREFEAUDIT").setText(description);
        host.clear();
    }

    // Puts a request back into "Em Andamento" with every inspection concluded OK, or
    // the last one not OK, as if the analysts had just finished.
    static void finishInspections(int n, const std::string& lastVerdict = "S") {
        const std::string key = "CDFILIAL = '0001' AND NRAUDITORIA = '" + nr(n) + "'";
        exec("UPDATE AUDITORIA SET IDSTATUSAUDI = '2', DTFINREALAUD = NULL WHERE " + key);
        exec("UPDATE INSPECAUDIT SET IDINSPCONC = 'S' WHERE " + key);
        exec("UPDATE ITEMINSAUDIT SET IDOPCACEITIN = 'S' WHERE " + key);
        if (lastVerdict == "N")
            exec("UPDATE INSPECAUDIT SET IDINSPCONC = 'N' WHERE " + key +
                 " AND NRINSPECAUDI = (SELECT MAX(NRINSPECAUDI) FROM INSPECAUDIT WHERE " + key + ")");
    }

    std::vector<std::string> opened;
};

}  // namespace savetest
