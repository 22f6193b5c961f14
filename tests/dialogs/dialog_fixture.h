#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_controls.h"
#include "platform/handler.h"
#include "platform/host.h"
#include "platform/query.h"
#include "platform/scripted_host.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "support/backend_context.h"
#include "support/form_input.h"
#include "support/screen_fixture.h"

namespace dialogtest {

// The user's actions on a dialog.
using testsupport::click;
using testsupport::leave;
using testsupport::type;

// One row of the justification trail as the tests compare it.
struct Trail {
    std::string origin, request, justification, operador, authorizer, permission;
    bool operator==(const Trail&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Trail& t) {
    return os << "{" << t.origin << " " << t.request << " " << t.justification << " " << t.operador << " "
              << t.authorizer << " " << t.permission << "}";
}

inline const std::string kRequest = "0000099001";

// The real server with the demo data, the scripted host, and the main screen's
// connection (the dialogs write through it) without the rest of the screen.
class DialogFlow : public testsupport::ScreenFixture {
protected:
    void SetUp() override {
        startSession();
        auto& mainScreen = newScreen();
        mainScreen.netPedidoAna.Open();
        screen::frmPedidoAna = &mainScreen;
        screen::ValidaTela = false;
        exec("DELETE FROM JUSTIFICATIVA WHERE CDJUSTIFICATIVA IN ('00007', '00012')");
        exec("INSERT INTO JUSTIFICATIVA (CDJUSTIFICATIVA, DSJUSTIFICATIVA) VALUES ('00007', 'Erro de digitação')");
        exec("INSERT INTO JUSTIFICATIVA (CDJUSTIFICATIVA, DSJUSTIFICATIVA) VALUES ('00012', 'Reanálise do lote')");
    }

    // Trail rows of the test request, in the order they were written.
    static std::vector<Trail> trail() {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB =
            "SELECT IDORIGJUST, NRAUDITORIA, CDJUSTIFICATIVA, CDOPERADOR, CDOPERAUTORIZ, IDAUTGRUPOP "
            "FROM JUSTIFICAANA WHERE NRAUDITORIA = :P_A ORDER BY NRSEQJUSTANA";
        q.ParamByName("P_A") = kRequest;
        q.Open();
        std::vector<Trail> rows;
        for (q.first(); !q.eof(); q.next())
            rows.push_back({q.fieldAt(0).asString(), q.fieldAt(1).asString(), q.fieldAt(2).asString(),
                            q.fieldAt(3).asString(), q.fieldAt(4).asString(), q.fieldAt(5).asString()});
        return rows;
    }

    static long long trailCount() {
        platform::TADOIBQuery q;
        q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB = "SELECT COUNT(*) AS N FROM JUSTIFICAANA";
        q.Open();
        return q.fieldAt(0).asInteger();
    }

    // Makes the trail refuse the second write of a confirm (a server failure
    // between the two writes).
    static void failAnalysisEntries() {
        for (const auto& statement :
             testsupport::backendContext().failInserts("JUSTIFICAANA", "NEW.IDORIGJUST = 'A'", "FALHA"))
            exec(statement);
    }

};

}  // namespace dialogtest
