#include "core/packet.h"

#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>

#include "core/binary_wire.h"
#include "core/error.h"
#include "core/recordset.h"
#include "core/variant.h"

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

// The binary form: what the client asks for on every call.
TEST(BinaryWire, RoundTripEveryTypeAndTheEdges) {
    Packet p = everyType();
    p.fields[0].size = 0;
    p.rows.push_back({Value(""), Value(std::numeric_limits<int64_t>::min()), Value(-0.0), Value(false),
                      Value(DateTime(-693593.0)), Value(Blob{})});
    p.rows.push_back({Value("ção 😀"), Value(std::numeric_limits<int64_t>::max()),
                      Value(std::numeric_limits<double>::max()), Value(), Value(DateTime(2958465.99)), Value()});
    p.rows.push_back({Value("x"), Value(int64_t{0}), Value(std::numeric_limits<double>::denorm_min()), Value(true),
                      Value(DateTime::make(1899, 12, 30)), Value()});
    EXPECT_EQ(decodeBinaryPacket(encodeBinaryPacket(p)), p);
    EXPECT_EQ(decodeBinaryPacket(encodeBinaryPacket(p)), decodePacket(encodePacket(p)));

    // The envelopes: a result with by-reference arguments, a refusal, a call of every scalar.
    const auto answer = decodeAnswer(encodeResult(Variant(p), {{1, Variant("Análise")}, {3, Variant(2.5)}}, Wire::Binary),
                                     Wire::Binary);
    ASSERT_TRUE(answer.result.isPacket());
    EXPECT_EQ(*answer.result.packet, p);
    ASSERT_EQ(answer.out.size(), 2u);
    EXPECT_EQ(answer.out[1].first, 3);
    EXPECT_EQ(answer.out[0].second.value, Value("Análise"));
    EXPECT_EQ(decodeAnswer(encodeError("P_ALMOXORIG_CAD", Wire::Binary), Wire::Binary).result.error, "P_ALMOXORIG_CAD");
    const std::vector<Variant> args{Variant(), Variant("0001"), Variant(int64_t{-7}), Variant(1e-300), Variant(true),
                                    Variant(DateTime::make(1850, 1, 1)), Variant(p)};
    const auto back = decodeCall(encodeCall(args, Wire::Binary), Wire::Binary);
    ASSERT_EQ(back.size(), args.size());
    for (size_t i = 0; i + 1 < args.size(); ++i) EXPECT_EQ(back[i].value, args[i].value) << i;
    EXPECT_EQ(*back.back().packet, p);

    // A stray byte from the database reaches the client as JSON would send it, not as a refused packet.
    const Variant stray(std::string("a\xff" "b"));
    EXPECT_EQ(decodeAnswer(encodeResult(stray, {}, Wire::Binary), Wire::Binary).result.value,
              decodeAnswer(encodeResult(stray)).result.value);
    // A packet the server wrote straight from the database reads the same in JSON (curl).
    const auto encoded = Variant::encodedPacket(encodeBinaryPacket(p));
    EXPECT_EQ(*decodeAnswer(encodeResult(encoded)).result.packet, p);
}

TEST(BinaryWire, MalformedAndTruncatedRefused) {
    const std::string good = encodeBinaryPacket(everyType());
    for (size_t n = 0; n < good.size(); ++n) EXPECT_THROW(decodeBinaryPacket(good.substr(0, n)), Error) << n;
    EXPECT_THROW(decodeBinaryPacket(good + '\0'), Error);

    // One field of each kind below, then a row of one value written by hand.
    auto packetOf = [](FieldType type, int size, auto writeValue) {
        std::string out;
        BinaryWriter w(out);
        w.packetHead({{"A", type, size}}, 1);
        writeValue(w, out);
        w.count(0);
        return out;
    };
    auto value = [](Value v) { return [v](BinaryWriter& w, std::string&) { w.value(v); }; };
    const std::string bad[] = {
        packetOf(FieldType::String, 2, value(Value("abc"))),
        packetOf(FieldType::Integer, 0, value(Value("12"))),
        packetOf(FieldType::DateTime, 0, value(Value(1e300))),
        // bytes that are not text taken as text (found by the fuzzer: they changed on the next encoding)
        packetOf(FieldType::String, 0, value(Value(Blob{"\xff"}))),
        packetOf(FieldType::String, 0, [](BinaryWriter& w, std::string&) { w.byte(42); }),
        packetOf(FieldType::String, 0, [](BinaryWriter& w, std::string& out) { w.byte(tag::kText), w.count(2), out += "\xc3("; }),
        packetOf(FieldType::Float, 0, [](BinaryWriter& w, std::string& out) { w.byte(tag::kFloat), out += std::string("\0\0\0\0\0\0\xf8\x7f", 8); }),
        packetOf(FieldType::Integer, 0, [](BinaryWriter& w, std::string& out) { w.byte(tag::kInteger), out += std::string(10, '\xff'); }),
        // a row count far beyond the bytes that follow
        [] { std::string out; BinaryWriter w(out); w.packetHead({{"A", FieldType::String}}, uint64_t{1} << 60); return out; }(),
        std::string("\x08\x01\x01" "A" "\x09\x00\x00\x00\x00", 9),  // unknown field type
        std::string("\x08\x01\x01" "A" "\x00\x00\x04\x00\x00", 9),  // unknown field flags
    };
    for (const auto& bytes : bad) EXPECT_THROW(decodeBinaryPacket(bytes), Error) << ::testing::PrintToString(bytes);
    // The JSON form holds bytes taken as text to the same rule.
    Packet blobInText;
    blobInText.fields = {{"A", FieldType::String}};
    blobInText.rows = {{Value(Blob{"\xff"})}};
    try {
        decodePacket(encodePacket(blobInText));
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Valor inválido para o campo A.");
    }

    EXPECT_THROW(decodeAnswer("Z", Wire::Binary), Error);
    EXPECT_THROW(decodeAnswer(encodeResult(Variant(1), {}, Wire::Binary) + "x", Wire::Binary), Error);
    try {
        decodeCall("C\x05", Wire::Binary);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Requisição mal formada: binário inválido.");
    }
}

// A long list read through the binary form holds what the JSON form gave, and a
// record set that takes the packet's rows holds what one that copies them does.
TEST(BinaryWire, HundredThousandRowsDecodeAsTheJsonPathDoes) {
    Packet p = everyType();
    p.fields[0].size = 0;
    p.delta.clear();
    p.rows.clear();
    for (int64_t i = 0; i < 100000; ++i)
        p.rows.push_back({i % 7 ? Value("Lote " + std::to_string(i) + (i % 3 ? " ção" : "")) : Value(),
                          Value(i * 7919 - 300000000), Value(static_cast<double>(i) / 8.0 - 99.75),
                          i % 5 ? Value(i % 2 == 0) : Value(), Value(DateTime(-3000.0 + static_cast<double>(i) / 4.0)),
                          i % 11 ? Value() : Value(Blob{std::string("\0\x01", 2) + std::to_string(i)})});
    const Packet viaJson = decodePacket(encodePacket(p));
    Packet viaBinary = decodeBinaryPacket(encodeBinaryPacket(p));
    EXPECT_TRUE(viaBinary == viaJson);

    RecordSet copied, taken;
    copied.setData(viaJson);
    taken.setData(std::move(viaBinary));
    EXPECT_EQ(taken.recordCount(), 100000);
    EXPECT_TRUE(taken.data() == copied.data());
}

// A streamed answer read as it arrives, however the network cuts it: the same answer
// as a whole one, and a cut, a wrong count or a failure after some rows is never
// taken for a complete list.
TEST(AnswerStream, AnyCutReadsTheSameAndNothingPartialPasses) {
    const std::vector<FieldDef> fields = {
        {"NRAUDITORIA", FieldType::String, 10, true}, {"QTPESO", FieldType::Float}, {"DTCAD", FieldType::DateTime}};
    std::string rows;
    BinaryWriter w(rows);
    w.byte(streamed::kStart);
    w.fieldDefs(fields);
    const std::vector<std::vector<Value>> values = {{Value("Açúcar"), Value(1.5), Value(DateTime::make(1890, 1, 1))},
                                                    {Value("2"), Value(), Value()}};
    for (const auto& r : values) {
        w.byte(streamed::kRow);
        for (const auto& v : r) w.value(v);
    }
    const std::string whole = rows + streamedEnd(2, {{1, Variant("lote!")}});
    auto read = [](const std::string& bytes, size_t piece) {
        AnswerStream s;
        for (size_t at = 0; at < bytes.size(); at += piece) s.feed(std::string_view(bytes).substr(at, piece));
        return s.finish();
    };
    for (size_t piece : {size_t{1}, size_t{3}, whole.size()}) {
        const CallAnswer a = read(whole, piece);
        ASSERT_TRUE(a.result.isPacket()) << a.result.error;
        EXPECT_EQ(a.result.packet->fields, fields);
        EXPECT_EQ(a.result.packet->rows, values);
        ASSERT_EQ(a.out.size(), 1u);
        EXPECT_EQ(a.out[0].second.value, Value("lote!"));
    }
    for (size_t cut = 1; cut < rows.size() + 2; ++cut) {
        try {
            read(whole.substr(0, cut), 1);
            FAIL() << "a cut after " << cut << " bytes passed";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Resposta do servidor mal formada.") << cut;
        }
    }
    EXPECT_THROW(read(rows + streamedEnd(3, {}), 1), Error);                      // a row went missing
    EXPECT_THROW(read(rows + streamedEnd(2, {}) + "x", 1), Error);                // bytes after the end
    EXPECT_THROW(read(std::string(1, streamed::kStart) + "\x01\x00", 1), Error);  // a field without a name
    std::string notText = rows;
    notText += static_cast<char>(streamed::kRow);
    notText += std::string("\x01\x02\xC3\x28", 4);
    try {
        read(notText, 1);
        FAIL() << "a text that is not UTF-8 passed";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Pacote de dados inválido: texto que não é UTF-8.");
    }

    // The server failed after some rows: the answer is its error, never the rows read.
    const CallAnswer failed = read(rows + streamedFailure("Erro no banco de dados: disco cheio"), 2);
    EXPECT_EQ(failed.result.error, "Erro no banco de dados: disco cheio");
    EXPECT_FALSE(failed.result.isPacket());

    // A plain binary answer under the streamed Content-Type reads as decodeAnswer does.
    const std::string plain = encodeResult(Variant(int64_t{7}), {}, Wire::Binary);
    EXPECT_EQ(read(plain, 1).result.value, Value(int64_t{7}));
    EXPECT_EQ(read(encodeError("SESSAO_INVALIDA", Wire::Binary), 2).result.error, "SESSAO_INVALIDA");
}
