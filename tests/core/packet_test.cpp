#include "core/packet.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/error.h"

using namespace core;

namespace {

Packet everyType() {
    Packet p;
    p.fields = {{"CDFILIAL", FieldType::String, 10, true, true},
                {"NRQTD", FieldType::Integer},
                {"QTPESO", FieldType::Float},
                {"IDATIVO", FieldType::Boolean},
                {"DTCAD", FieldType::DateTime},
                {"TXFOTO", FieldType::Blob}};
    p.rows.push_back({Value("Análise"), Value(int64_t{-42}), Value(1234.5), Value(true),
                      Value(DateTime::make(1850, 5, 17, 6, 0)), Value(Blob{std::string("\0\x01\xff", 3)})});
    p.rows.push_back({Value(), Value(), Value(), Value(), Value(), Value()});
    p.rows.back()[0] = Value("0001");
    Change ins{ChangeKind::Insert, {}, p.rows[0]};
    Change mod{ChangeKind::Modify, p.rows[1], p.rows[0]};
    Change del{ChangeKind::Delete, p.rows[0], {}};
    p.delta = {ins, mod, del};
    return p;
}

}  // namespace

TEST(PacketCodec, RoundTripEveryTypeAndNulls) {
    const Packet p = everyType();
    const Packet back = decodePacket(encodePacket(p));
    EXPECT_EQ(back, p);
    EXPECT_EQ(back.fieldIndex("cdfilial"), 0);
    EXPECT_EQ(back.fieldIndex("NADA"), -1);

    Packet empty;
    empty.fields = {{"A", FieldType::String}};
    EXPECT_EQ(decodePacket(encodePacket(empty)), empty);
}

TEST(PacketCodec, MalformedAndTruncatedRefused) {
    const std::string good = encodePacket(everyType());
    // every truncation is refused with the system's error, never a crash
    for (size_t n = 0; n < good.size(); n += 7) EXPECT_THROW(decodePacket(good.substr(0, n)), Error) << n;

    const char* bad[] = {
        "[]",
        "{}",
        R"({"fields":{}})",
        R"({"fields":[{"name":"A"}]})",
        R"({"fields":[{"name":"A","type":"nada"}]})",
        R"({"fields":[{"name":"","type":"string"}]})",
        R"({"fields":[{"name":"A","type":"string"},{"name":"a","type":"string"}]})",
        R"({"fields":[{"name":"A","type":"string","size":-1}]})",
        R"({"fields":[{"name":"A","type":"string","size":2}],"rows":[["abc"]]})",
        R"({"fields":[{"name":"A","type":"integer"}],"rows":[["12"]]})",
        R"({"fields":[{"name":"A","type":"integer"}],"rows":[[1,2]]})",
        R"({"fields":[{"name":"A","type":"integer"}],"rows":[1]})",
        R"({"fields":[{"name":"A","type":"datetime"}],"rows":[[{"dt":1e300}]]})",
        // a plain number is a day count too: the same calendar holds (found by the fuzzer:
        // it decoded, then its own encoding was refused)
        R"({"fields":[{"name":"A","type":"datetime"}],"rows":[[18446744073709551615]]})",
        R"({"fields":[{"name":"A","type":"datetime"}],"rows":[[-1e9]]})",
        R"({"fields":[{"name":"A","type":"blob"}],"rows":[[{"blob":"!!"}]]})",
        R"({"fields":[{"name":"A","type":"string"}],"rows":[[{"x":1}]]})",
        R"({"fields":[{"name":"A","type":"string"}],"delta":[{"kind":"modify","new":["a"]}]})",
        R"({"fields":[{"name":"A","type":"string"}],"delta":[{"kind":"drop"}]})",
    };
    for (const char* text : bad) EXPECT_THROW(decodePacket(text), Error) << text;

    // a size in characters, not bytes: "Análise" fits 7
    EXPECT_NO_THROW(
        decodePacket(R"({"fields":[{"name":"A","type":"string","size":7}],"rows":[["Análise"]]})"));
}

TEST(PacketCodec, CheckedValueConvertsOrRefuses) {
    const FieldDef f{"QTPESO", FieldType::Float};
    EXPECT_TRUE(checkedValue(f, Value(3)).isFloat());
    EXPECT_THROW(checkedValue(f, Value("3")), Error);
    const FieldDef s{"NMPROD", FieldType::String, 7};
    EXPECT_EQ(checkedValue(s, Value("Análise")), Value("Análise"));
    try {
        checkedValue(s, Value("Análises"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("NMPROD"), std::string::npos);
    }
}
