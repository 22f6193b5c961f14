#include "core/packet.h"

#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

#include "core/error.h"

namespace core {

using nlohmann::json;

int Packet::fieldIndex(const std::string& name) const {
    const std::string want = utf8Upper(name);
    for (size_t i = 0; i < fields.size(); ++i)
        if (utf8Upper(fields[i].name) == want) return static_cast<int>(i);
    return -1;
}

namespace {

const char* kB64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string b64encode(const std::string& in) {
    std::string out;
    int val = 0, bits = -6;
    for (unsigned char c : in) {
        val = (val << 8) + c;
        bits += 8;
        while (bits >= 0) {
            out.push_back(kB64[(val >> bits) & 0x3F]);
            bits -= 6;
        }
    }
    if (bits > -6) out.push_back(kB64[((val << 8) >> (bits + 8)) & 0x3F]);
    while (out.size() % 4) out.push_back('=');
    return out;
}

std::string b64decode(const std::string& in) {
    std::string out;
    int val = 0, bits = -8;
    for (char ch : in) {
        if (ch == '=') break;
        const char* p = std::strchr(kB64, ch);
        if (!p || ch == 0) throw Error("Pacote de dados inválido: binário mal formado.");
        val = (val << 6) + static_cast<int>(p - kB64);
        bits += 6;
        if (bits >= 0) {
            out.push_back(static_cast<char>((val >> bits) & 0xFF));
            bits -= 8;
        }
    }
    return out;
}

const char* kindName(ChangeKind k) {
    switch (k) {
        case ChangeKind::Insert: return "insert";
        case ChangeKind::Modify: return "modify";
        case ChangeKind::Delete: return "delete";
    }
    return "insert";
}

std::vector<Value> rowFromJson(const json& j, const std::vector<FieldDef>& fields) {
    if (!j.is_array()) badPacket("linha não é uma lista");
    if (j.size() != fields.size()) badPacket("linha com número de colunas diferente dos campos");
    std::vector<Value> row;
    row.reserve(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) row.push_back(checkedValue(fields[i], valueFromJson(j[i])));
    return row;
}

json rowToJson(const std::vector<Value>& row) {
    json a = json::array();
    for (const auto& v : row) a.push_back(valueToJson(v));
    return a;
}

}  // namespace

void badPacket(const std::string& what) { throw Error("Pacote de dados inválido: " + what + "."); }

void checkTextSize(const FieldDef& f, size_t characters) {
    if (f.size > 0 && characters > static_cast<size_t>(f.size))
        throw Error("O valor do campo " + f.name + " excede " + std::to_string(f.size) + " caracteres.");
}

void checkDayCount(double d) {
    if (!std::isfinite(d) || d < -693593.0 || d > 2958466.0) badPacket("data fora do intervalo");
}

json valueToJson(const Value& v) {
    return std::visit(
        [](const auto& x) -> json {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) return nullptr;
            else if constexpr (std::is_same_v<T, std::string>) return x;
            else if constexpr (std::is_same_v<T, int64_t>) return x;
            else if constexpr (std::is_same_v<T, double>) {
                if (!std::isfinite(x)) return nullptr;  // JSON has no NaN; the host has no use for one
                return x;
            } else if constexpr (std::is_same_v<T, bool>) return x;
            else if constexpr (std::is_same_v<T, DateTime>) return json{{"dt", x.days}};
            else return json{{"blob", b64encode(x.bytes)}};
        },
        v.storage());
}

Value valueFromJson(const json& j) {
    switch (j.type()) {
        case json::value_t::null: return {};
        case json::value_t::string: return Value(j.get<std::string>());
        case json::value_t::boolean: return Value(j.get<bool>());
        case json::value_t::number_integer: return Value(j.get<int64_t>());
        case json::value_t::number_unsigned: {
            const auto u = j.get<uint64_t>();
            if (u > static_cast<uint64_t>(INT64_MAX)) return Value(static_cast<double>(u));
            return Value(static_cast<int64_t>(u));
        }
        case json::value_t::number_float: return Value(j.get<double>());
        case json::value_t::object:
            if (j.size() == 1 && j.contains("dt") && j["dt"].is_number()) {
                const double d = j["dt"].get<double>();
                checkDayCount(d);
                return Value(DateTime(d));
            }
            if (j.size() == 1 && j.contains("blob") && j["blob"].is_string())
                return Value(Blob{b64decode(j["blob"].get<std::string>())});
            badPacket("valor de tipo desconhecido");
        default:
            badPacket("valor de tipo desconhecido");
    }
}

Value checkedValue(const FieldDef& f, const Value& v) {
    if (v.isNull()) return v;
    Value out;
    try {
        // A packet never carries text where a number belongs: that is a fault, not a conversion.
        if (v.isString() && f.type != FieldType::String && f.type != FieldType::Blob) throw Error("");
        if (v.isBlob() && f.type != FieldType::Blob && f.type != FieldType::String) throw Error("");
        out = v.convertedTo(f.type);
    } catch (const Error&) {
        throw Error("Valor inválido para o campo " + f.name + ".");
    }
    // Bytes taken as text must be text: otherwise the next encoding would change them.
    size_t characters = 0;
    if (v.isBlob() && out.isString() && !utf8Valid(out.asString(), characters))
        throw Error("Valor inválido para o campo " + f.name + ".");
    // A plain number in a date-time field is a day count too, held to the same calendar.
    if (out.isDateTime()) checkDayCount(out.asDateTime().days);
    if (f.type == FieldType::String && f.size > 0) checkTextSize(f, utf8Length(out.asString()));
    return out;
}

json packetToJson(const Packet& p) {
    json fields = json::array();
    for (const auto& f : p.fields) {
        json jf{{"name", f.name}, {"type", fieldTypeName(f.type)}};
        if (f.size) jf["size"] = f.size;
        if (f.inKey) jf["key"] = true;
        if (f.required) jf["required"] = true;
        fields.push_back(jf);
    }
    json rows = json::array();
    for (const auto& r : p.rows) rows.push_back(rowToJson(r));
    json out{{"fields", fields}, {"rows", rows}};
    if (!p.delta.empty()) {
        json d = json::array();
        for (const auto& c : p.delta) {
            json jc{{"kind", kindName(c.kind)}};
            if (c.kind != ChangeKind::Insert) jc["old"] = rowToJson(c.oldValues);
            if (c.kind != ChangeKind::Delete) jc["new"] = rowToJson(c.newValues);
            d.push_back(jc);
        }
        out["delta"] = d;
    }
    return out;
}

Packet packetFromJson(const json& j) {
    if (!j.is_object()) badPacket("esperado um objeto");
    if (!j.contains("fields") || !j["fields"].is_array()) badPacket("sem definição de campos");
    Packet p;
    for (const auto& jf : j["fields"]) {
        if (!jf.is_object() || !jf.contains("name") || !jf["name"].is_string() || !jf.contains("type") ||
            !jf["type"].is_string())
            badPacket("definição de campo mal formada");
        FieldDef f;
        f.name = jf["name"].get<std::string>();
        if (f.name.empty()) badPacket("campo sem nome");
        try {
            f.type = fieldTypeFromName(jf["type"].get<std::string>());
        } catch (const Error&) {
            badPacket("tipo de campo desconhecido");
        }
        if (jf.contains("size")) {
            if (!jf["size"].is_number_integer() || jf["size"].get<int64_t>() < 0 || jf["size"].get<int64_t>() > 1 << 24)
                badPacket("tamanho de campo inválido");
            f.size = jf["size"].get<int>();
        }
        if (jf.contains("key")) {
            if (!jf["key"].is_boolean()) badPacket("indicador de chave inválido");
            f.inKey = jf["key"].get<bool>();
        }
        if (jf.contains("required")) {
            if (!jf["required"].is_boolean()) badPacket("indicador de obrigatório inválido");
            f.required = jf["required"].get<bool>();
        }
        if (p.fieldIndex(f.name) >= 0) badPacket("campo repetido " + f.name);
        p.fields.push_back(std::move(f));
    }
    if (j.contains("rows")) {
        if (!j["rows"].is_array()) badPacket("linhas mal formadas");
        p.rows.reserve(j["rows"].size());
        for (const auto& r : j["rows"]) p.rows.push_back(rowFromJson(r, p.fields));
    }
    if (j.contains("delta")) {
        if (!j["delta"].is_array()) badPacket("alterações mal formadas");
        for (const auto& jc : j["delta"]) {
            if (!jc.is_object() || !jc.contains("kind") || !jc["kind"].is_string()) badPacket("alteração mal formada");
            const auto k = jc["kind"].get<std::string>();
            Change c;
            if (k == "insert") c.kind = ChangeKind::Insert;
            else if (k == "modify") c.kind = ChangeKind::Modify;
            else if (k == "delete") c.kind = ChangeKind::Delete;
            else
                badPacket("tipo de alteração desconhecido");
            if (c.kind != ChangeKind::Insert) {
                if (!jc.contains("old")) badPacket("alteração sem valores antigos");
                c.oldValues = rowFromJson(jc["old"], p.fields);
            }
            if (c.kind != ChangeKind::Delete) {
                if (!jc.contains("new")) badPacket("alteração sem valores novos");
                c.newValues = rowFromJson(jc["new"], p.fields);
            }
            p.delta.push_back(std::move(c));
        }
    }
    return p;
}

Packet decodePacket(const std::string& text) {
    json j;
    try {
        j = json::parse(text);
    } catch (const json::exception&) {
        badPacket("texto mal formado ou incompleto");
    }
    return packetFromJson(j);
}

std::string encodePacket(const Packet& p) { return packetToJson(p).dump(); }

}  // namespace core
