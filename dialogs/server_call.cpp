#include "dialogs/server_call.h"

#include "core/error.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"

namespace dialogs {

core::Variant callServer(platform::TNetConnection& conn, const std::string& method, std::vector<core::Variant>& args,
                         int aviKind) {
    core::Variant result = platform::withShowAvi(aviKind, [&] { return conn.call(method, args); });
    platform::CheckResultServ(result, true, 0);
    return result;
}

void loadServer(platform::TNetConnection& conn, const std::string& method, std::vector<core::Variant>& args,
                int aviKind, core::RecordSet& set) {
    platform::loadFromServer(set, callServer(conn, method, args, aviKind));
}

void openOwnConnection(platform::TNetConnection& conn) {
    conn.OnBeforeConnect = platform::pointAtSessionServer;
    conn.Open();
}

platform::TNetConnection& mainConnection() {
    if (!screen::frmPedidoAna) throw core::Error("Tela de Pedido de Análise não está aberta.");
    return screen::frmPedidoAna->netPedidoAna;
}

void recordJustification(std::string jus, std::string& auditoria, const std::string& permissao, std::string authorizer,
                         bool withTrail) {
    auto& net = mainConnection();
    if (withTrail) {
        std::vector<core::Variant> args{jus,       platform::FiliProc(), auditoria, platform::Operador(), permissao,
                                        authorizer};
        callServer(net, "SetJustificativa", args, 1);
        auditoria = args[2].value.asString();
    }
    std::vector<core::Variant> args{platform::FiliProc(), auditoria, platform::Operador(), jus, permissao, authorizer};
    callServer(net, "SetJustificativaAna", args, 1);
    auditoria = args[1].value.asString();
}

}  // namespace dialogs
