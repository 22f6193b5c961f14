#pragma once
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "core/packet.h"

namespace core {

// What crosses the wire as one argument or result: a scalar, or a whole data
// packet. A result may instead carry the server's error (a fixed code such as
// "P_ALMOXORIG_CAD" or a message), which the host's result check raises.
struct Variant {
    Value value;
    std::shared_ptr<Packet> packet;
    std::string error;

    Variant() = default;
    Variant(Value v) : value(std::move(v)) {}
    Variant(const char* s) : value(s) {}
    Variant(std::string s) : value(std::move(s)) {}
    Variant(int i) : value(i) {}
    Variant(int64_t i) : value(i) {}
    Variant(double d) : value(d) {}
    Variant(bool b) : value(b) {}
    Variant(DateTime d) : value(d) {}
    Variant(Packet p) : packet(std::make_shared<Packet>(std::move(p))) {}
    // A packet already in the binary wire form (core/binary_wire.h): the server's answer
    // of a long query, written straight from the database. Only the codecs read it.
    std::shared_ptr<const std::string> encoded;
    static Variant encodedPacket(std::string bytes) {
        Variant v;
        v.encoded = std::make_shared<const std::string>(std::move(bytes));
        return v;
    }
    static Variant failure(std::string message) {
        Variant v;
        v.error = std::move(message);
        return v;
    }

    bool isPacket() const { return packet != nullptr || encoded != nullptr; }
    bool isError() const { return !error.empty(); }
    bool isNull() const { return !isPacket() && value.isNull(); }
};

// The two forms of the wire: JSON, the default (readable with curl), and the binary
// form a client asks for by Content-Type and Accept (core/binary_wire.h).
enum class Wire { Json, Binary };
inline constexpr const char* kJsonContentType = "application/json";
inline constexpr const char* kBinaryContentType = "application/x-mxa-binary";
// The form a Content-Type or Accept header names: binary only when it names it.
Wire wireOf(const std::string& header);
inline const char* contentTypeOf(Wire w) { return w == Wire::Binary ? kBinaryContentType : kJsonContentType; }

// {"packet":{...}} for packets, the value's own form otherwise.
nlohmann::json variantToJson(const Variant& v);
Variant variantFromJson(const nlohmann::json& j);  // throws core::Error when malformed

// The call envelope: {"args":[...]} and its answer {"result":...,"out":{"1":...}} or {"error":"..."}.
std::string encodeCall(const std::vector<Variant>& args, Wire wire = Wire::Json);
std::vector<Variant> decodeCall(const std::string& body, Wire wire = Wire::Json);  // throws core::Error
std::string encodeResult(const Variant& result, const std::vector<std::pair<int, Variant>>& out = {},
                         Wire wire = Wire::Json);
std::string encodeError(const std::string& message, Wire wire = Wire::Json);
// The refusal of a call that carries no valid session (absent, malformed, unknown,
// closed or idle too long): the client logs in again and repeats the call.
inline constexpr const char* kSessionRefused = "SESSAO_INVALIDA";
struct CallAnswer {
    Variant result;  // result.error set when the server refused
    std::vector<std::pair<int, Variant>> out;
};
CallAnswer decodeAnswer(const std::string& body, Wire wire = Wire::Json);  // throws core::Error

// The binary answer of a long list, sent while the server still reads it: "S", the
// fields, each row after a 1, then 0, the row count and the by-reference arguments
// (as a binary answer has them), or 2 and an error at any point after the fields.
// A server may answer this Content-Type with a plain binary answer too.
inline constexpr const char* kStreamContentType = "application/x-mxa-stream";
namespace streamed {
inline constexpr uint8_t kStart = 'S', kEnd = 0, kRow = 1, kFailure = 2;
}
// The streamed answer's end: what follows the last row, or a failure after the fields.
std::string streamedEnd(uint64_t rows, const std::vector<std::pair<int, Variant>>& out);
std::string streamedFailure(const std::string& message);

// Reads an answer of that Content-Type as it arrives: the rows of a streamed answer
// are decoded while the rest is on its way; anything else is read whole at the end.
class AnswerStream {
public:
    void feed(std::string_view bytes);  // throws core::Error on a malformed answer
    CallAnswer finish();                // throws core::Error on a malformed or cut answer

private:
    bool step();
    enum class Stage { Start, Whole, Head, Rows, Tail, Failed };
    Stage stage_ = Stage::Start;
    std::string buf_;
    size_t pos_ = 0;  // what is read of buf_
    Packet packet_;
    std::string failure_;
};

}  // namespace core
