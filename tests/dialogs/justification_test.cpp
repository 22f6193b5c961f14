#include "dialogs/justification.h"

#include "dialog_fixture.h"

using namespace dialogtest;
using cli_mxa07308::TfrmJustificativa;

namespace {

class Justification : public DialogFlow {
protected:
    void open(const std::string& code, std::function<void(TfrmJustificativa&)> script) {
        host.dialogs.push_back([script](platform::Form& f) { script(dynamic_cast<TfrmJustificativa&>(f)); });
        cli_mxa07308::CriaJustificativa(kRequest, "DEMO", code);
    }
};

TEST_F(Justification, EmptyCodeIsRefusedAndNothingWritten) {
    open("EXCA", [&](TfrmJustificativa& d) {
        EXPECT_EQ(d.caption, "Justificativa");
        EXPECT_EQ(d.screenCode, "MXA07304");
        EXPECT_TRUE(screen::ValidaTela);
        EXPECT_FALSE(leave(d, "edtJus"));  // refused already on leaving the box
        EXPECT_EQ(host.lastText(), "Justificativa deve ser informda.");
        host.clear();
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(host.lastText(), "Justificativa deve ser informda.");
        EXPECT_EQ(d.comps.activeControl(), "edtJus");
        EXPECT_EQ(d.ModalResult, platform::mrNone);
    });
    EXPECT_TRUE(screen::ValidaTela);
    EXPECT_TRUE(trail().empty());
    EXPECT_EQ(cli_mxa07308::frmJustificativa, nullptr);
    EXPECT_FALSE(cli_mxa07308::boIdCriado);
}

TEST_F(Justification, WritesOfEachCodeInOrder) {
    open("IEIA", [&](TfrmJustificativa& d) {
        type(d, "edtJus", "12");
        EXPECT_TRUE(click(d, "sbtConfirma"));
        EXPECT_EQ(d.ModalResult, platform::mrOk);
    });
    EXPECT_FALSE(screen::ValidaTela);
    EXPECT_EQ(trail(), (std::vector<Trail>{{"A", kRequest, "00012", "DEMO", "DEMO", "IEIA"}}));

    open("EXCA", [&](TfrmJustificativa& d) {
        type(d, "edtJus", "7");
        EXPECT_TRUE(click(d, "sbtConfirma"));
    });
    EXPECT_FALSE(screen::ValidaTela);
    const auto rows = trail();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (Trail{"J", kRequest, "00007", "DEMO", "DEMO", "EXCA"}));
    EXPECT_EQ(rows[2], (Trail{"A", kRequest, "00007", "DEMO", "DEMO", "EXCA"}));
}

TEST_F(Justification, CodeIsPaddedAndLookedUp) {
    open("IEIA", [&](TfrmJustificativa& d) {
        type(d, "edtJus", "99");
        EXPECT_FALSE(leave(d, "edtJus"));
        EXPECT_EQ(host.lastText(), "Justificativa não cadastrada");
        EXPECT_EQ(d.comps["edtJus"].text, "00099");
        EXPECT_EQ(d.comps["edtInfoJus"].text, "");
        type(d, "edtJus", "7");
        EXPECT_TRUE(leave(d, "edtJus"));
        EXPECT_EQ(d.comps["edtJus"].text, "00007");
        EXPECT_EQ(d.comps["edtInfoJus"].text, "Erro de digitação");
        type(d, "edtJus", "0001");
        EXPECT_EQ(d.comps["edtInfoJus"].text, "");  // a changed code clears the description
        click(d, "sbtCancel");
    });
    EXPECT_TRUE(screen::ValidaTela);
    EXPECT_TRUE(trail().empty());
}

TEST_F(Justification, FailureBetweenTheWritesKeepsTheFirstAndRefuses) {
    failAnalysisEntries();
    open("EXCA", [&](TfrmJustificativa& d) {
        type(d, "edtJus", "7");
        EXPECT_FALSE(click(d, "sbtConfirma"));
        EXPECT_EQ(d.ModalResult, platform::mrNone);
        click(d, "sbtCancel");  // cancel after a failed confirm
    });
    EXPECT_TRUE(screen::ValidaTela);
    const auto rows = trail();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].origin, "J");
}

}  // namespace
