#include "core/variant.h"

#include <nlohmann/json.hpp>

#include "core/error.h"

namespace core {

using nlohmann::json;

namespace {
// Text is UTF-8 by rule; a stray byte must not make a whole answer fail to encode.
std::string dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }
}  // namespace

json variantToJson(const Variant& v) {
    if (v.packet) return json{{"packet", packetToJson(*v.packet)}};
    return valueToJson(v.value);
}

Variant variantFromJson(const json& j) {
    if (j.is_object() && j.size() == 1 && j.contains("packet")) return Variant(packetFromJson(j["packet"]));
    return Variant(valueFromJson(j));
}

std::string encodeCall(const std::vector<Variant>& args) {
    json a = json::array();
    for (const auto& v : args) a.push_back(variantToJson(v));
    return dump(json{{"args", a}});
}

std::vector<Variant> decodeCall(const std::string& body) {
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

std::string encodeResult(const Variant& result, const std::vector<std::pair<int, Variant>>& out) {
    json j{{"result", variantToJson(result)}};
    if (!out.empty()) {
        json o = json::object();
        for (const auto& [i, v] : out) o[std::to_string(i)] = variantToJson(v);
        j["out"] = o;
    }
    return dump(j);
}

std::string encodeError(const std::string& message) { return dump(json{{"error", message}}); }

CallAnswer decodeAnswer(const std::string& body) {
    json j;
    try {
        j = json::parse(body);
    } catch (const json::exception&) {
        throw Error("Resposta do servidor mal formada.");
    }
    if (!j.is_object()) throw Error("Resposta do servidor mal formada.");
    CallAnswer a;
    if (j.contains("error")) {
        a.result = Variant::failure(j["error"].is_string() ? j["error"].get<std::string>() : j["error"].dump());
        if (a.result.error.empty()) a.result.error = "Erro no servidor de aplicação.";
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

}  // namespace core
