#include "platform/session_login.h"

#include <exception>

#include "core/variant.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"

namespace platform {

namespace {

constexpr const char* kRefused = "Operador ou senha inválidos.";

}  // namespace

std::optional<std::string> login(const std::string& operador, const std::string& senha) {
    if (operador.empty() || senha.empty()) return std::string(kRefused);
    auto& s = session();
    try {
        TNetConnection conn("MXA07300.Host");
        pointAtSessionServer(conn);
        conn.Open();
        const core::Variant answer = conn.call("Login", {operador, senha});
        if (answer.isError()) {
            // A fixed code means nothing to the operator; a sentence is shown as it stands.
            const bool sentence = answer.error.find(' ') != std::string::npos;
            return sentence ? answer.error : std::string(kRefused);
        }
        if (!answer.isPacket() || answer.packet->rows.empty()) return std::string(kRefused);
        const auto& p = *answer.packet;
        const auto& row = p.rows.front();
        auto col = [&](const char* name) {
            const int i = p.fieldIndex(name);
            return i < 0 || row[i].isNull() ? std::string() : row[i].asString();
        };
        s.operador = col("CDOPERADOR");
        s.nomeOperador = col("NMOPERADOR");
        s.filial = col("CDFILIAL");
        s.token = col("TOKEN");
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
}

void logout() {
    auto& s = session();
    if (s.token.empty()) return;
    try {
        TNetConnection conn("MXA07300.Host");
        pointAtSessionServer(conn);
        conn.call("Logout");
    } catch (const std::exception&) {
        // Nothing to tell anyone on the way out.
    }
    s.token.clear();
}

bool renewSession() {
    std::string prompt = kSessionExpired;
    for (;;) {
        const auto senha = host().askPassword(session().operador, prompt);
        if (!senha) return false;
        const auto refused = login(session().operador, *senha);
        if (!refused) return true;
        prompt = *refused;
    }
}

}  // namespace platform
