// Parameters, permissions and the host's services as the screen reads them.
#include "fixture.h"

namespace {

class FrameTest : public ServerSuite {};

TEST_F(FrameTest, ParametersOfTheDemoBranch) {
    auto a = testsupport::call("GetParamMXA", {"0001"});
    ASSERT_TRUE(a.result.isPacket()) << a.result.error;
    const auto& p = *a.result.packet;
    std::vector<std::string> names;
    for (const auto& f : p.fields) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"NRDIAMINQUA", "IDUTSEGLIBANA", "IDUTSEGLIBLOTE", "IDLIBLOTEEST",
                                               "IDPARCACABADO", "IDPARCPROCESSO", "IDPARCEMBALAGEM",
                                               "IDPARCMATPRIMA"}));
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_FALSE(p.rows[0][p.fieldIndex("NRDIAMINQUA")].asString().empty());
    const auto& flag = p.rows[0][p.fieldIndex("IDUTSEGLIBANA")].asString();
    EXPECT_TRUE(flag == "S" || flag == "N") << flag;

    // An unknown branch gives an empty packet, not an error.
    a = testsupport::call("GetParamMXA", {"9999"});
    ASSERT_TRUE(a.result.isPacket());
    EXPECT_TRUE(a.result.packet->rows.empty());

    a = testsupport::call("getParamFilial", {"0001"});
    ASSERT_TRUE(a.result.isPacket()) << a.result.error;
    EXPECT_EQ(a.result.packet->fields.size(), 2u);
    EXPECT_EQ(a.result.packet->rows.size(), 1u);
}

TEST_F(FrameTest, PermissionListHasOneRowPerOperatorAndPermission) {
    auto a = testsupport::call("getPermissaoAna");
    ASSERT_TRUE(a.result.isPacket()) << a.result.error;
    const auto& p = *a.result.packet;
    ASSERT_EQ(p.fields.size(), 7u);
    EXPECT_EQ(p.fields[1].name, "IDAUTGRUPOP");
    EXPECT_EQ(p.fields[1].size, 4);
    ASSERT_FALSE(p.rows.empty());
    std::set<std::string> codes;
    std::set<std::pair<std::string, std::string>> seen;
    for (const auto& r : p.rows) {
        codes.insert(core::utf8Upper(r[1].asString()));
        EXPECT_FALSE(r[6].asString().empty());
        seen.emplace(r[6].asString(), r[0].asString() + "/" + r[1].asString());
    }
    EXPECT_EQ(seen.size(), p.rows.size());  // no repeated operator/permission row
    for (const char* code : {"ALTC", "EXCA", "IEIA", "CANA"}) EXPECT_TRUE(codes.count(code)) << code;
    // A wrong call names the method.
    EXPECT_EQ(testsupport::call("getPermissaoAna", {"0001", "x"}).result.error,
              "Método getPermissaoAna: esperados de 0 a 1 argumentos, recebidos 2.");
}

TEST_F(FrameTest, PermissionListHoldsActiveOperatorsOfTheGivenBranch) {
    auto operators = [](std::vector<core::Variant> args) {
        auto a = testsupport::call("getPermissaoAna", std::move(args));
        EXPECT_TRUE(a.result.isPacket()) << a.result.error;
        std::set<std::string> out;
        if (a.result.packet)
            for (const auto& r : a.result.packet->rows) out.insert(r[6].asString());
        return out;
    };
    // The demo's quality people of branch 0001 keep their permissions; the
    // supervisor of branch 0002 holds some too.
    const auto first = operators({"0001"});
    EXPECT_EQ(first, (std::set<std::string>{"DEMO", "MARIA", "SUPERVISOR"}));
    EXPECT_EQ(operators({"0002"}), (std::set<std::string>{"LUCIA"}));

    // An inactive operator holds nothing, in any branch or in none.
    db() << "UPDATE OPERADOR SET IDATIVO = 'N' WHERE CDOPERADOR = 'MARIA'";
    EXPECT_EQ(operators({"0001"}), (std::set<std::string>{"DEMO", "SUPERVISOR"}));
    EXPECT_EQ(operators({}).count("MARIA"), 0u);
    EXPECT_EQ(operators({}).count("LUCIA"), 1u);
    db() << "UPDATE OPERADOR SET IDATIVO = 'S' WHERE CDOPERADOR = 'MARIA'";
    EXPECT_EQ(operators({"0001"}), first);
}

TEST_F(FrameTest, LoginChecksTheHashedPassword) {
    auto ok = testsupport::call("Login", {"DEMO", "demo"}, "Host");
    ASSERT_TRUE(ok.result.isPacket()) << ok.result.error;
    const auto& p = *ok.result.packet;
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0][p.fieldIndex("CDOPERADOR")].asString(), "DEMO");
    EXPECT_EQ(p.rows[0][p.fieldIndex("CDFILIAL")].asString(), "0001");
    EXPECT_FALSE(p.rows[0][p.fieldIndex("NMOPERADOR")].asString().empty());

    for (auto [op, pw] : {std::pair{"DEMO", "errada"}, {"DEMO", ""}, {"NINGUEM", "demo"}, {"DEMO", "DEMO"}})
        EXPECT_EQ(testsupport::call("Login", {op, pw}, "Host").result.error, "Operador ou senha inválidos.") << op;

    // The stored value is a hash, never the password.
    std::string stored;
    db() << "SELECT CDSENHAOPER FROM OPERADOR WHERE CDOPERADOR = 'DEMO'", soci::into(stored);
    EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u);
}

TEST_F(FrameTest, AuthorizationIgnoresCaseAndServerDateIsNow) {
    // Every permission of some operator, asked in lower case, is granted; a made-up one is not.
    auto perms = *testsupport::call("getPermissaoAna").result.packet;
    const auto op = perms.rows.at(0)[6].asString();
    const auto code = core::utf8Lower(perms.rows.at(0)[1].asString());
    EXPECT_TRUE(testsupport::call("Autorizacao", {op, code}, "Host").result.value.asBool());
    EXPECT_FALSE(testsupport::call("Autorizacao", {op, "ZZZZ"}, "Host").result.value.asBool());
    EXPECT_FALSE(testsupport::call("Autorizacao", {"NINGUEM", code}, "Host").result.value.asBool());

    const auto before = core::DateTime::now();
    auto a = testsupport::call("DtServ", {"H"}, "Host");
    ASSERT_TRUE(a.result.value.isDateTime()) << a.result.error;
    EXPECT_GE(a.result.value.asDateTime().days, before.days - 1.0 / 86400);
    EXPECT_LT(a.result.value.asDateTime().days - before.days, 1.0);
}

}  // namespace
