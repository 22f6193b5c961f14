#include "screen/conclusion/save_checks.h"

#include "core/error.h"
#include "core/format.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_building.h"
#include "screen/request/header_validation.h"
#include "screen/request/header_validation_util.h"

namespace screen {

using namespace building;
using header::text;

namespace {

std::string param(const TfrmPedidoAna& s, const char* field) { return s.cdsParamMXA.field(field).asString(); }

// The lot parameters that make every process type move its lot on release and reopening.
bool lotReleaseParameters(const TfrmPedidoAna& s) {
    return param(s, "IDUTSEGLIBLOTE") == "S" && param(s, "IDLIBLOTEEST") == "1";
}

std::string replaceFirst(std::string textWith, const std::string& what, const std::string& by) {
    if (const auto at = textWith.find(what); at != std::string::npos) textWith.replace(at, what.size(), by);
    return textWith;
}

}  // namespace

void declareSaveCheckFields(TfrmPedidoAna& s) {
    declare(s.cdsValidade, {{"VALIDADE", S, 10, "", true}, {"VALIDADEATUAL", D, 0, "", true}});
    declare(s.cdsProcesso, {{"CDPRODUTO", S, 10, "", true},
                            {"CDINSPECAO", S, 10, "", true},
                            {"IDPROCPROD", S, 1, "", true},
                            {"CDARVINSPEC", S, 10, "", true}});
    declare(s.cdsQtAmostras, {{"QTAMOSTRAS", N, 0, "", true}});

    auto& m = s.msgPadrao;
    m.add("Lote_Utilizado",
          "Análise não pode ser alterada para Andamento pois o lote %s já foi utilizado. Operação será cancelada.");
    m.add("Inf_Reverte_Reprov_Transf",
          "Ao alterar a situação da análise para Em Andamento, o sistema transfere o lote do almoxarifado Reprovado "
          "para o almoxarifado de quarentena. Deseja continuar?");
    m.add("Inf_Reverte_Transf",
          "Ao alterar a situação da análise para Em Andamento, o sistema transfere o lote do almoxarifado liberado "
          "para o almoxarifado de quarentena. Deseja continuar?");
    m.add("Validade_Analise", "Deseja recalcular a data de validade da análise?");
    m.add("Proc_Prod_NCad", "Não existe análise cadastrada ou ativa para o produto e processo informados.");
    m.add("lote_inf_comp", "É necessário informar pelo menos um lote para realizar a análise de compatibilidade.");
}

void Verifica_Lote_Utilizado(TfrmPedidoAna& s) {
    boReverteTransf = false;
    auto& a = s.cdsAuditoria;
    try {
        const std::string lote = text(s, "NRLOTEESTQ");
        const core::Variant used = platform::withShowAvi(6, [&] {
            return s.netPedidoAna.call("Verifica_Lote_Utilizado", {text(s, "CDFILIAL"), lote, text(s, "NRSUBLOTE"),
                                                                   a.field("DTFINREALAUD").asDateTime()});
        });
        platform::CheckResultServ(used);
        if (used.value.asString() == "SIM")
            platform::MensErro(replaceFirst(s.msgPadrao.Msg("Lote_Utilizado"), "%s", lote));

        const std::string process = text(s, "IDTPAUDITADO");
        if (lotReleaseParameters(s) || process == "M" || process == "E") {
            const std::string key =
                OldValue(s, "IDSTATUSAUDI") == "5" ? "Inf_Reverte_Reprov_Transf" : "Inf_Reverte_Transf";
            if (s.msgPadrao.ShowMsg(key, platform::MsgType::Confirmation, platform::MsgButtons::YesNo) !=
                platform::MsgResult::Yes)
                throw core::Abort();
            boReverteTransf = true;
        }
    } catch (...) {
        // The request stays concluded as the server holds it.
        boReverteTransf = false;
        a.cancelUpdates();
        throw;
    }
}

void Verifica_Validade_Alterada(TfrmPedidoAna& s) {
    boAltValidade = false;
    const auto& a = s.cdsAuditoria;
    const bool starting = OldValue(s, "IDSTATUSAUDI") == "1" && text(s, "IDSTATUSAUDI") == "2";
    if (!(boConcAnalise || starting)) return;
    const auto& inclusion = a.field("DTINCLAUDIT");
    if (inclusion.isNull() || inclusion.asDateTime().isZero()) return;

    platform::withShowAvi(6, [&] {
        platform::loadFromServer(
            s.cdsValidade,
            s.netPedidoAna.call("verificaValidade", {text(s, "CDFILIAL"), text(s, "CDFILIAL"), "MXA",
                                                     text(s, "NRLOTEESTQ"), text(s, "NRSUBLOTE"), text(s, "TIPOANA"),
                                                     text(s, "CDPRODUTO"), inclusion.asDateTime()}));
    });
    if (text(s, "DTVALANA") == s.cdsValidade.field("VALIDADE").asString()) return;
    if (s.msgPadrao.ShowMsg("Validade_Analise", platform::MsgType::Confirmation, platform::MsgButtons::YesNo) ==
        platform::MsgResult::Yes)
        boAltValidade = true;
}

void Verifica_Processo(TfrmPedidoAna& s) {
    try {
        platform::withShowAvi(6, [&] {
            platform::loadFromServer(s.cdsProcesso, s.netPedidoAna.call("getVerifProcesso", {text(s, "CDPRODUTO"),
                                                                                             text(s, "IDTPAUDITADO")}));
        });
        if (s.cdsProcesso.isEmpty()) platform::MensErro(s.msgPadrao.Msg("Proc_Prod_NCad"));
    } catch (...) {
        boReverteTransf = false;
        throw;
    }
}

void Vd_Compatibilidade(TfrmPedidoAna& s) {
    try {
        platform::withShowAvi(6, [&] {
            platform::loadFromServer(
                s.cdsQtAmostras,
                s.netPedidoAna.call("getVerifCompatibilidade", {text(s, "CDFILIAL"), text(s, "NRAUDITORIA")}));
        });
        if (s.cdsQtAmostras.field("QTAMOSTRAS").asFloat() == 0.0) {
            s.cdsAuditoria.cancelUpdates();
            // The lots are entered on the formula tab: the user is taken there.
            if (s.comps.has("tshFormula")) s.comps.setActiveTab("pgcPadrao", "tshFormula");
            platform::MensErro(s.msgPadrao.Msg("lote_inf_comp"));
        }
    } catch (...) {
        boReverteTransf = false;
        throw;
    }
}

void dbcSitChange(TfrmPedidoAna& s) {
    boAlteraStatus = true;
    if (auto* b = s.comps.find("btnFechaParc")) b->enabled = false;
}

}  // namespace screen
