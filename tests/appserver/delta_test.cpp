// Saving through a change log: round trip, lost-update protection, refusals.
#include "appserver/refusal.h"
#include "fixture.h"

using core::ChangeKind;
using core::DateTime;
using core::Value;

namespace {

class DeltaTest : public ServerSuite {
protected:
    static core::Packet delta(std::vector<core::Change> changes) {
        core::Packet p;
        p.fields = fields();
        p.delta = std::move(changes);
        return p;
    }
    static core::Change insert(std::vector<Value> row) { return {ChangeKind::Insert, {}, std::move(row)}; }
    static core::Change modify(std::vector<Value> old, std::vector<Value> now) {
        return {ChangeKind::Modify, std::move(old), std::move(now)};
    }
    static core::Change remove(std::vector<Value> old) { return {ChangeKind::Delete, std::move(old), {}}; }
};

TEST_F(DeltaTest, SavesAndReloadsInsertModifyDelete) {
    const DateTime when = DateTime::make(2024, 2, 29, 13, 45);
    std::vector<Value> a{"A1", "Análise", when, 1.5, 7};
    std::vector<Value> b{"B2", Value(), Value(), Value(), Value()};
    auto r = save(delta({insert(a), insert(b)}));
    ASSERT_FALSE(r.result.isError()) << r.result.error;
    EXPECT_EQ(r.result.value.asInteger(), 2);

    auto p = read();
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0], a);  // text with accents, date-time to the minute, float and integer come back as sent
    EXPECT_TRUE(p.rows[1][1].isNull() && p.rows[1][2].isNull());

    auto a2 = a;
    a2[1] = "Revisada";
    a2[3] = Value();  // set to null
    r = save(delta({modify(a, a2), remove(b)}));
    ASSERT_FALSE(r.result.isError()) << r.result.error;
    p = read();
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0], a2);

    // A key change finds the row by its old key.
    auto a3 = a2;
    a3[0] = "C3";
    r = save(delta({modify(a2, a3)}));
    ASSERT_FALSE(r.result.isError()) << r.result.error;
    EXPECT_EQ(read().rows.at(0)[0].asString(), "C3");
}

TEST_F(DeltaTest, ConcurrentUpdateIsRefusedAndNothingIsWritten) {
    std::vector<Value> row{"K1", "original", Value(), 10.0, 1};
    ASSERT_FALSE(save(delta({insert(row)})).result.isError());

    // Two operators read the same row; the first saves.
    auto first = row;
    first[1] = "primeiro";
    ASSERT_FALSE(save(delta({modify(row, first)})).result.isError());

    // The second, still holding the old values, changes the same field: refused.
    auto second = row;
    second[1] = "segundo";
    auto r = save(delta({modify(row, second)}));
    EXPECT_EQ(r.result.error, appserver::kRowChanged);

    // A change to another field also carries the key's and that field's old value:
    // it applies, since what it changes is still as read.
    auto other = row;
    other[3] = 20.0;
    EXPECT_FALSE(save(delta({modify(row, other)})).result.isError());

    // A stale change after a good one: the whole call is undone, the insert included.
    auto stale = row;
    stale[1] = "tarde";
    r = save(delta({insert({"K2", "novo", Value(), Value(), Value()}), modify(row, stale)}));
    EXPECT_EQ(r.result.error, appserver::kRowChanged);
    auto p = read();
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0][1].asString(), "primeiro");
    EXPECT_EQ(p.rows[0][3].asFloat(), 20.0);

    // A row deleted by another operator cannot be modified.
    auto current = p.rows[0];
    ASSERT_FALSE(save(delta({remove(current)})).result.isError());
    auto late = current;
    late[1] = "fantasma";
    EXPECT_EQ(save(delta({modify(current, late)})).result.error, appserver::kRowChanged);
    EXPECT_EQ(count(), 0);
}

TEST_F(DeltaTest, RefusesWhatDoesNotFitTheTable) {
    ASSERT_FALSE(save(delta({insert({"OK", "antes", Value(), Value(), Value()})})).result.isError());

    // A field the table does not have.
    auto p = delta({insert({"X1", "a", Value(), Value(), Value()})});
    p.fields[1].name = "NMINEXISTENTE";
    auto r = save(p);
    EXPECT_NE(r.result.error.find("NMINEXISTENTE"), std::string::npos) << r.result.error;

    // Text longer than its column, even when the packet declares a larger field.
    p = delta({insert({"X2", "abcdefghijk", Value(), Value(), Value()})});
    p.fields[1].size = 50;
    r = save(p);
    EXPECT_EQ(r.result.error, "O valor do campo NMTEXTO excede 10 caracteres.");
    // Ten accented characters fit: the size counts characters, not bytes.
    p = delta({insert({"X3", "ããããããããçã", Value(), Value(), Value()})});
    p.fields[1].size = 0;
    EXPECT_FALSE(save(p).result.isError());

    // A date outside the calendar: the decoder refuses the wildest, the delta the rest.
    r = save(delta({insert({"X4", "d", DateTime(2958466.0), Value(), Value()})}));
    EXPECT_EQ(r.result.error, "Data fora do intervalo permitido no campo DTDATA.");
    const std::string wild =
        R"({"args":[{"packet":{"fields":[{"name":"CDCHAVE","type":"string","size":4,"key":true},)"
        R"({"name":"DTDATA","type":"datetime"}],"rows":[],"delta":[{"kind":"insert","new":["X5",{"dt":1e12}]}]}}]})";
    auto raw = testsupport::post(port(), "/Teste/Salvar", wild);
    EXPECT_NE(core::decodeAnswer(raw.body).result.error.find("data fora do intervalo"), std::string::npos) << raw.body;

    // Text where the column holds numbers.
    p = delta({insert({"X6", "t", Value(), Value(), Value()})});
    p.fields[3].type = core::FieldType::String;
    p.delta[0].newValues[3] = "doze";
    EXPECT_EQ(save(p).result.error, "Valor inválido para o campo QTVALOR da tabela TESTE_DELTA.");

    // A modify without key fields cannot find its row.
    p = delta({modify({"OK", "antes", Value(), Value(), Value()}, {"OK", "depois", Value(), Value(), Value()})});
    p.fields[0].inKey = false;
    EXPECT_NE(save(p).result.error.find("sem campos-chave"), std::string::npos);

    auto rows = read().rows;
    ASSERT_EQ(rows.size(), 2u);  // "OK" untouched and the accented row
    EXPECT_EQ(rows[0][1].asString(), "antes");
}

}  // namespace
