#include "core/variant.h"

#include <nlohmann/json.hpp>

#include "core/binary_wire.h"
#include "core/error.h"

namespace core {

using nlohmann::json;

namespace {
// Text is UTF-8 by rule; a stray byte must not make a whole answer fail to encode.
std::string dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

// Binary envelopes: a call 'C' <count> <variant>...; an answer 'R' <variant> <count>
// (<index> <variant>)... or 'E' <text>. A variant is a value or a packet.
constexpr uint8_t kCall = 'C', kResult = 'R', kError = 'E';

void writeVariant(BinaryWriter& w, const Variant& v) {
    if (v.encoded)
        w.raw(*v.encoded);
    else if (v.packet)
        w.packet(*v.packet);
    else
        w.value(v.value);
}

Variant readVariant(BinaryReader& r) {
    if (r.peek() == tag::kPacket) return Variant(r.packet());
    return Variant(r.value());
}

// The by-reference arguments at an answer's end: their count, then each index and value.
void writeOut(BinaryWriter& w, const std::vector<std::pair<int, Variant>>& out) {
    w.count(out.size());
    for (const auto& [i, v] : out) {
        w.count(static_cast<uint64_t>(i));
        writeVariant(w, v);
    }
}

// The server's refusal; one without words says only that the server failed.
Variant serverFailure(std::string message) {
    if (message.empty()) message = "Erro no servidor de aplicação.";
    return Variant::failure(std::move(message));
}

// A refusal without words of its own is a malformed answer.
[[noreturn]] void malformedAnswer(const Error& e) {
    if (*e.what()) throw e;
    throw Error("Resposta do servidor mal formada.");
}

void readOut(BinaryReader& r, CallAnswer& a) {
    const uint64_t n = r.count();
    if (n > r.left()) throw Error("");
    for (uint64_t i = 0; i < n; ++i) {
        const uint64_t index = r.count();
        if (index > 1u << 20) throw Error("");
        a.out.emplace_back(static_cast<int>(index), readVariant(r));
    }
}

}  // namespace

Wire wireOf(const std::string& header) {
    return header.find(kBinaryContentType) != std::string::npos ? Wire::Binary : Wire::Json;
}

json variantToJson(const Variant& v) {
    if (v.encoded) return json{{"packet", packetToJson(decodeBinaryPacket(*v.encoded))}};
    if (v.packet) return json{{"packet", packetToJson(*v.packet)}};
    return valueToJson(v.value);
}

Variant variantFromJson(const json& j) {
    if (j.is_object() && j.size() == 1 && j.contains("packet")) return Variant(packetFromJson(j["packet"]));
    return Variant(valueFromJson(j));
}

std::string encodeCall(const std::vector<Variant>& args, Wire wire) {
    if (wire == Wire::Binary) {
        std::string out;
        BinaryWriter w(out);
        w.byte(kCall);
        w.count(args.size());
        for (const auto& a : args) writeVariant(w, a);
        return out;
    }
    json a = json::array();
    for (const auto& v : args) a.push_back(variantToJson(v));
    return dump(json{{"args", a}});
}

std::vector<Variant> decodeCall(const std::string& body, Wire wire) {
    if (wire == Wire::Binary) {
        try {
            BinaryReader r(body);
            if (r.byte() != kCall) throw Error("");
            const uint64_t n = r.count();
            if (n > r.left()) throw Error("");
            std::vector<Variant> args;
            for (uint64_t i = 0; i < n; ++i) args.push_back(readVariant(r));
            if (!r.atEnd()) throw Error("");
            return args;
        } catch (const Error& e) {
            // A value or packet refused says why; a broken envelope is just malformed.
            if (*e.what()) throw;
            throw Error("Requisição mal formada: binário inválido.");
        }
    }
    json j;
    try {
        j = json::parse(body.empty() ? std::string("{}") : body);
    } catch (const json::exception&) {
        throw Error("Requisição mal formada: JSON inválido.");
    }
    if (!j.is_object()) throw Error("Requisição mal formada: esperado um objeto.");
    std::vector<Variant> args;
    if (!j.contains("args")) return args;
    if (!j["args"].is_array()) throw Error("Requisição mal formada: \"args\" deve ser uma lista.");
    for (const auto& a : j["args"]) args.push_back(variantFromJson(a));
    return args;
}

std::string encodeResult(const Variant& result, const std::vector<std::pair<int, Variant>>& out, Wire wire) {
    if (wire == Wire::Binary) {
        std::string body;
        BinaryWriter w(body);
        w.byte(kResult);
        writeVariant(w, result);
        writeOut(w, out);
        return body;
    }
    json j{{"result", variantToJson(result)}};
    if (!out.empty()) {
        json o = json::object();
        for (const auto& [i, v] : out) o[std::to_string(i)] = variantToJson(v);
        j["out"] = o;
    }
    return dump(j);
}

std::string encodeError(const std::string& message, Wire wire) {
    if (wire == Wire::Binary) {
        std::string body;
        BinaryWriter w(body);
        w.byte(kError);
        w.text(message);
        return body;
    }
    return dump(json{{"error", message}});
}

CallAnswer decodeAnswer(const std::string& body, Wire wire) {
    if (wire == Wire::Binary) {
        CallAnswer a;
        try {
            BinaryReader r(body);
            const uint8_t kind = r.byte();
            if (kind == kError) {
                a.result = serverFailure(r.text());
            } else if (kind == kResult) {
                a.result = readVariant(r);
                readOut(r, a);
            } else {
                throw Error("");
            }
            if (!r.atEnd()) throw Error("");
        } catch (const Error& e) {
            malformedAnswer(e);
        }
        return a;
    }
    json j;
    try {
        j = json::parse(body);
    } catch (const json::exception&) {
        throw Error("Resposta do servidor mal formada.");
    }
    if (!j.is_object()) throw Error("Resposta do servidor mal formada.");
    CallAnswer a;
    if (j.contains("error")) {
        a.result = serverFailure(j["error"].is_string() ? j["error"].get<std::string>() : j["error"].dump());
        return a;
    }
    if (!j.contains("result")) throw Error("Resposta do servidor mal formada.");
    a.result = variantFromJson(j["result"]);
    if (j.contains("out")) {
        if (!j["out"].is_object()) throw Error("Resposta do servidor mal formada.");
        for (const auto& [k, v] : j["out"].items()) {
            int idx = -1;
            try {
                idx = std::stoi(k);
            } catch (...) {
                throw Error("Resposta do servidor mal formada.");
            }
            a.out.emplace_back(idx, variantFromJson(v));
        }
    }
    return a;
}

std::string streamedEnd(uint64_t rows, const std::vector<std::pair<int, Variant>>& out) {
    std::string bytes;
    BinaryWriter w(bytes);
    w.byte(streamed::kEnd);
    w.count(rows);
    writeOut(w, out);
    return bytes;
}

std::string streamedFailure(const std::string& message) {
    std::string bytes;
    BinaryWriter w(bytes);
    w.byte(streamed::kFailure);
    w.text(message);
    return bytes;
}

// One unit (the start, the fields, a row, the end) read from what has arrived; false
// when it has not all arrived yet, or when the rest is read at the end.
bool AnswerStream::step() {
    const std::string_view rest(buf_.data() + pos_, buf_.size() - pos_);
    if (rest.empty()) return false;
    BinaryReader r(rest);
    try {
        switch (stage_) {
            case Stage::Start:
                if (r.byte() != streamed::kStart) {
                    stage_ = Stage::Whole;
                    return false;
                }
                stage_ = Stage::Head;
                break;
            case Stage::Head:
                packet_.fields = r.fieldDefs();
                stage_ = Stage::Rows;
                break;
            case Stage::Rows: {
                const uint8_t mark = r.byte();
                if (mark == streamed::kRow) {
                    packet_.rows.push_back(r.row(packet_.fields));
                } else if (mark == streamed::kEnd) {
                    if (r.count() != packet_.rows.size()) throw Error("");
                    stage_ = Stage::Tail;
                } else if (mark == streamed::kFailure) {
                    failure_ = r.text();
                    stage_ = Stage::Failed;
                } else {
                    throw Error("");
                }
                break;
            }
            default:
                return false;
        }
    } catch (const Error& e) {
        if (r.ranOut()) return false;
        malformedAnswer(e);
    }
    pos_ += rest.size() - r.left();
    return true;
}

void AnswerStream::feed(std::string_view bytes) {
    buf_.append(bytes);
    while (step()) {
    }
    // What is read goes, so a long list is not held twice; not at every row, though.
    if (pos_ >= (1u << 20) && pos_ * 2 >= buf_.size()) {
        buf_.erase(0, pos_);
        pos_ = 0;
    }
}

CallAnswer AnswerStream::finish() {
    switch (stage_) {
        case Stage::Start:
        case Stage::Whole:
            return decodeAnswer(buf_, Wire::Binary);  // nothing of it was read yet
        case Stage::Failed:
            return {serverFailure(failure_), {}};
        case Stage::Tail:
            break;
        default:
            throw Error("Resposta do servidor mal formada.");  // cut before its end
    }
    CallAnswer a;
    try {
        BinaryReader r(std::string_view(buf_).substr(pos_));
        readOut(r, a);
        if (!r.atEnd()) throw Error("");
    } catch (const Error& e) {
        malformedAnswer(e);
    }
    a.result = Variant(std::move(packet_));
    return a;
}

}  // namespace core
