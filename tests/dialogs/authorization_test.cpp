#include "dialogs/authorization.h"

#include "core/format.h"
#include "dialog_fixture.h"
#include "platform/netconnection.h"
#include "platform/services.h"

using namespace dialogtest;
using cli_mxa07304::TfrmContQuali;

namespace {

TfrmContQuali& dlg(platform::Form& f) { return dynamic_cast<TfrmContQuali&>(f); }

class Authorization : public DialogFlow {
protected:
    // Opens the dialog and plays `script` on it.
    void open(const std::string& request, const std::string& code, std::function<void(TfrmContQuali&)> script) {
        host.dialogs.push_back([script](platform::Form& f) { script(dlg(f)); });
        cli_mxa07304::CriaContQuali(request, code);
    }
};

TEST_F(Authorization, CancelLeavesTheChangeRefused) {
    cli_mxa07304::stOperLibAna = "OUTRO";
    bool seen = false;
    open("", "CANA", [&](TfrmContQuali& d) {
        seen = true;
        EXPECT_EQ(d.screenCode, "MXA07304");
        EXPECT_EQ(d.caption, "Controle de Qualidade");
        EXPECT_TRUE(screen::ValidaTela);  // from the moment the dialog exists
        EXPECT_EQ(cli_mxa07304::frmContQuali, &d);
        EXPECT_TRUE(cli_mxa07304::boIdCriado);
        click(d, "sbtCancel");
    });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(screen::ValidaTela);
    EXPECT_EQ(cli_mxa07304::stOperLibAna, "");
    // Each call creates a fresh instance and frees it on closing.
    EXPECT_EQ(cli_mxa07304::frmContQuali, nullptr);
    EXPECT_FALSE(cli_mxa07304::boIdCriado);

    // Closing the window without a button is a cancel too.
    screen::ValidaTela = false;
    cli_mxa07304::CriaContQuali("", "ALTC");
    EXPECT_TRUE(screen::ValidaTela);
}

TEST_F(Authorization, ShortLayoutGrantsWithoutWriting) {
    const auto before = trailCount();
    open("", "ALTC", [&](TfrmContQuali& d) {
        EXPECT_TRUE(d.shortLayout());
        EXPECT_EQ(d.Height, 107);
        EXPECT_EQ(d.comps["edtOperador"].text, "DEMO");
        EXPECT_EQ(d.comps["edtNmOperador"].text, platform::NomeOperador());
        EXPECT_TRUE(d.comps["edtOperador"].enabled);
        EXPECT_TRUE(d.comps["btnPesqOper"].enabled);
        EXPECT_EQ(d.comps["edtSenha"].passwordChar, '*');  // never shown as typed
        for (const char* c : {"medData", "edtJus", "btnPesqJus"}) {
            EXPECT_FALSE(d.comps[c].enabled) << c;
            EXPECT_FALSE(d.comps[c].visible) << c;
        }
        type(d, "edtSenha", "demo");
        EXPECT_TRUE(click(d, "sbtConfirma"));
        EXPECT_EQ(d.ModalResult, platform::mrOk);
    });
    EXPECT_FALSE(screen::ValidaTela);
    EXPECT_EQ(cli_mxa07304::stOperLibAna, "");  // only CANA returns the operator
    EXPECT_EQ(trailCount(), before);
}

TEST_F(Authorization, ConclusionReturnsTheAuthorizingOperator) {
    open("", "CANA", [&](TfrmContQuali& d) {
        type(d, "edtOperador", "SUPERVISOR");
        EXPECT_EQ(d.comps["edtNmOperador"].text, "");  // a changed code clears the name
        EXPECT_TRUE(leave(d, "edtOperador"));
        EXPECT_NE(d.comps["edtNmOperador"].text, "");
        type(d, "edtSenha", "super");
        EXPECT_TRUE(click(d, "sbtConfirma"));
    });
    EXPECT_FALSE(screen::ValidaTela);
    EXPECT_EQ(cli_mxa07304::stOperLibAna, "SUPERVISOR");
}

TEST_F(Authorization, RefusalTextOfEachPermission) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ALTC", "Operador não possui permissão para alterar a Análise concluída."},
        {"EXCA", "Operador não possui permissão para excluir análise."},
        {"IEIA", "Operador não possui permissão para Incluir/Excluir ítens em análises."},
        {"CANA", "Operador não possui permissão para concluir análise."},
        {"XPTO", "Operador não possui permissão para concluir análise."},
    };
    for (const auto& c : cases) {
        // Named copies: clang 14 does not let a lambda capture structured bindings.
        const std::string& code = c.first;
        const std::string& text = c.second;
        host.clear();
        open("", code, [&](TfrmContQuali& d) {
            type(d, "edtOperador", "ANALISTA");
            type(d, "edtSenha", "analista");
            EXPECT_FALSE(click(d, "sbtConfirma"));
            EXPECT_EQ(host.lastText(), text) << code;
            EXPECT_EQ(d.comps.activeControl(), "edtOperador");
            EXPECT_EQ(d.ModalResult, platform::mrNone);  // still open
            EXPECT_TRUE(screen::ValidaTela);
        });
    }
}

TEST_F(Authorization, WritesOfEachCodeInOrder) {
    // ALTC on a request: only the session operator may authorize; both writes,
    // the justification of the change first.
    open(kRequest, "ALTC", [&](TfrmContQuali& d) {
        EXPECT_FALSE(d.shortLayout());
        EXPECT_EQ(d.Height, 192);
        EXPECT_FALSE(d.comps["edtOperador"].enabled);
        EXPECT_FALSE(d.comps["btnPesqOper"].enabled);
        EXPECT_TRUE(d.comps["medData"].enabled);
        EXPECT_EQ(d.comps["medData"].mask, "!99/99/9999 99:99;1; ");
        EXPECT_TRUE(core::parseDateTime(d.comps["medData"].text).has_value());
        type(d, "edtSenha", "demo");
        type(d, "edtJus", "7");
        EXPECT_TRUE(leave(d, "edtJus"));
        EXPECT_EQ(d.comps["edtJus"].text, "00007");  // padded before the look-up
        EXPECT_EQ(d.comps["edtInfoJus"].text, "Erro de digitação");
        EXPECT_TRUE(click(d, "sbtConfirma"));
    });
    EXPECT_FALSE(screen::ValidaTela);
    EXPECT_EQ(trail(), (std::vector<Trail>{{"J", kRequest, "00007", "DEMO", "DEMO", "ALTC"},
                                           {"A", kRequest, "00007", "DEMO", "DEMO", "ALTC"}}));

    // IEIA: another operator may authorize; only the analysis entry is written,
    // in the session operator's name.
    open(kRequest, "IEIA", [&](TfrmContQuali& d) {
        EXPECT_TRUE(d.comps["edtOperador"].enabled);
        type(d, "edtSenha", "demo");
        type(d, "edtJus", "12");
        EXPECT_TRUE(click(d, "sbtConfirma"));
    });
    auto rows = trail();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], (Trail{"A", kRequest, "00012", "DEMO", "DEMO", "IEIA"}));

    // EXCA: a refused operator first, then one who holds the right.
    open(kRequest, "EXCA", [&](TfrmContQuali& d) {
        type(d, "edtOperador", "SUPERVISOR");
        type(d, "edtSenha", "super");
        type(d, "edtJus", "7");
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(host.lastText(), "Operador não possui permissão para excluir análise.");
        EXPECT_EQ(trail().size(), 3u);
        type(d, "edtOperador", "DEMO");
        type(d, "edtSenha", "demo");
        EXPECT_TRUE(click(d, "sbtConfirma"));
    });
    rows = trail();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3].origin, "J");
    EXPECT_EQ(rows[4].origin, "A");
    EXPECT_EQ(rows[4].permission, "EXCA");
}

TEST_F(Authorization, BadInputIsRefusedAndNothingWritten) {
    struct Case {
        std::string operador, senha, jus, data, message, focus;
    };
    const std::vector<Case> cases = {
        {"DEMO", "", "7", "", "Senha deve ser informada", "edtSenha"},
        {"DEMO", "errada", "7", "", "Senha inválida", "edtSenha"},
        {"NINGUEM", "demo", "7", "", "Senha inválida", "edtSenha"},
        {"DEMO", "demo", "", "", "Justificativa deve ser informda.", "edtJus"},
        {"DEMO", "demo", "99", "", "Justificativa não cadastrada", "edtJus"},
        {"DEMO", "demo", "7", "31/02/2024 10:00", "'31/02/2024 10:00' Não é uma data / hora válida.", "medData"},
    };
    for (const auto& k : cases) {
        host.clear();
        open(kRequest, "EXCA", [&](TfrmContQuali& d) {
            type(d, "edtOperador", k.operador);
            type(d, "edtSenha", k.senha);
            type(d, "edtJus", k.jus);
            if (!k.data.empty()) type(d, "medData", k.data);
            const int callsBefore = host.waitCount;
            EXPECT_FALSE(click(d, "sbtConfirma")) << k.message;
            EXPECT_EQ(host.lastText(), k.message);
            EXPECT_EQ(d.comps.activeControl(), k.focus) << k.message;
            EXPECT_EQ(d.ModalResult, platform::mrNone);
            if (k.senha.empty()) {
                EXPECT_EQ(host.waitCount, callsBefore);  // refused before any server call
            }
            if (k.jus == "99") {
                EXPECT_EQ(d.comps["edtInfoJus"].text, "");
            }
        });
        EXPECT_TRUE(screen::ValidaTela) << k.message;
        EXPECT_TRUE(trail().empty()) << k.message;
    }
    // The same checks run when leaving the boxes.
    open(kRequest, "EXCA", [&](TfrmContQuali& d) {
        type(d, "edtSenha", "errada");
        EXPECT_FALSE(leave(d, "edtSenha"));
        EXPECT_EQ(host.lastText(), "Senha inválida");
        type(d, "medData", "31/02/2024 10:00");
        EXPECT_FALSE(leave(d, "medData"));
        type(d, "edtJus", "");
        EXPECT_TRUE(leave(d, "edtJus"));  // an empty code is asked for only at Confirm
    });
}

TEST_F(Authorization, FailureBetweenTheWritesKeepsTheFirstAndRefuses) {
    failAnalysisEntries();
    open(kRequest, "ALTC", [&](TfrmContQuali& d) {
        type(d, "edtSenha", "demo");
        type(d, "edtJus", "7");
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(d.ModalResult, platform::mrNone);
        EXPECT_EQ(host.waitDepth, 0);  // the busy animation is removed on failure
    });
    EXPECT_TRUE(screen::ValidaTela);
    const auto rows = trail();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].origin, "J");
}

TEST_F(Authorization, LookupsCopyThePickedRow) {
    open(kRequest, "IEIA", [&](TfrmContQuali& d) {
        host.picks.push_back({0});
        EXPECT_TRUE(click(d, "btnPesqOper"));
        ASSERT_FALSE(host.lookups.empty());
        EXPECT_EQ(host.lookups.back().emptyText, "Não há operador cadastrada.");
        EXPECT_EQ(d.comps["edtOperador"].text, d.qryOperador["CDOPERADOR"].asString());
        EXPECT_EQ(d.comps["edtNmOperador"].text, d.qryOperador["NMOPERADOR"].asString());
        host.picks.push_back({});
        const std::string before = d.comps["edtJus"].text;
        click(d, "btnPesqJus");  // nothing picked: nothing copied
        EXPECT_EQ(d.comps["edtJus"].text, before);
        d.GetJustificativa();
        ASSERT_TRUE(d.cdsJustificativa.locate("CDJUSTIFICATIVA", "00012"));
        const int pos = d.cdsJustificativa.recNo() - 1;
        host.picks.push_back({pos});
        EXPECT_TRUE(click(d, "btnPesqJus"));
        EXPECT_EQ(host.lookups.back().emptyText, "Não há justificativa cadastrada.");
        EXPECT_EQ(d.comps["edtJus"].text, "00012");
        EXPECT_EQ(d.comps["edtInfoJus"].text, "Reanálise do lote");
    });
}

TEST_F(Authorization, NoPasswordIsStoredOrSentInClear) {
    platform::TADOIBQuery q;
    q.SQL = q.SQL_ORACLE = q.SQL_MSSQL = q.SQL_IB = "SELECT CDOPERADOR, CDSENHAOPER FROM OPERADOR";
    q.Open();
    ASSERT_FALSE(q.isEmpty());
    for (q.first(); !q.eof(); q.next()) {
        const std::string stored = q.fieldAt(1).asString();
        EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u) << q.fieldAt(0).asString();
        for (const char* clear : {"demo", "analista", "super"}) EXPECT_NE(stored, clear);
    }
    // The server answers whether the password matched, never the password or its hash.
    platform::TNetConnection net;
    net.Host = platform::WebURL();
    net.Port = platform::WebPort();
    net.Open();
    core::RecordSet answer;
    platform::loadFromServer(answer, net.call("GetVdOperador", {"DEMO", "demo"}));
    ASSERT_EQ(answer.recordCount(), 1);
    EXPECT_TRUE(answer["CDSENHOPER"].isNull());
    EXPECT_EQ(answer["IDSENHAOK"].asString(), "S");
    platform::loadFromServer(answer, net.call("GetVdOperador", {"DEMO", "errada"}));
    EXPECT_EQ(answer["IDSENHAOK"].asString(), "N");
    EXPECT_TRUE(answer["CDSENHOPER"].isNull());
}

}  // namespace
