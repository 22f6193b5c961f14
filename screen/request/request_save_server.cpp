// The header's save on the server: SetAuditoria after a post or a delete, what it
// writes back, and its refusals in the user's words.
#include <exception>

#include "core/error.h"
#include "core/format.h"
#include "platform/host.h"
#include "platform/netconnection.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"
#include "screen/frame/pedido_ana.h"
#include "screen/frame/screen_state.h"
#include "screen/request/header_validation_util.h"
#include "screen/request/request_save.h"

namespace screen {

using header::text;

namespace {

// Refusal codes of the server and the message key each is shown as.
struct Refusal {
    const char* code;
    const char* key;
};
constexpr Refusal kRefusals[] = {
    {"P_ALMOXORIG_CAD", "AlmoxOrig_Cad"},
    {"P_ALMOXDEST_CAD", "AlmoxDest_Cad"},
    {"ALMOX_ORIG_PROD_INFO", "ALMOX_ORIG_PROD_INFO"},
    {"ALMOX_DEST_PROD_INFO", "ALMOX_DEST_PROD_INFO"},
    {"LIBLOTEESTQ_INFO", "LIBLOTEESTQ_INFO"},
    {"SEMQTDE_ESTQ", "SEMQTDE_ESTQ"},
    {"EST_IRREGULAR", "EST_IRREGULAR"},
    {"ALMOX_DEST_REPR_INFO", "ALMOX_DEST_REPR_INFO"},
    {"N_POS_ESTOQUE", "N_POS_ESTOQUE"},
    // The server's own guard of the situations, in the words of the screen's.
    {"P_SIT_NCONC", "Sit_nconc"},
    {"P_SIT_CANCELADA", "Situ_NAnda"},
    {"P_SIT_NPEND", "Sit_nPend"},
    // The inspection save's (screen/inspection).
    {"P_ANALISE_N_CAD", "Analise_N_Cad"},
    {"P_ANA_NCONC", "Ana_nConc"},
};

constexpr const char* kStockIrregular = "P_EST_IRREG";

// The server's text around its stock-irregularity marker.
std::string withoutMarker(const std::string& message) {
    std::string rest = message;
    if (const auto at = rest.find(kStockIrregular); at != std::string::npos)
        rest.erase(at, std::string(kStockIrregular).size());
    const auto first = rest.find_first_not_of(" :-\n\t");
    if (first == std::string::npos) return message;
    return platform::AllTrim(rest.substr(first));
}

// Arguments of SetAuditoria, in its order; a delete sends only what identifies it.
std::vector<core::Variant> saveArguments(TfrmPedidoAna& s, bool deleting) {
    auto& a = s.cdsAuditoria;
    const auto msg = [&](const char* key) { return deleting ? std::string() : s.msgPadrao.Msg(key); };
    const auto field = [&](const char* name) { return deleting ? std::string() : text(s, name); };
    std::vector<core::Variant> args;
    args.reserve(27);
    args.emplace_back(a.delta());                                        // 1
    args.emplace_back(a.nullFieldList());                                // 2
    args.emplace_back(deleting ? std::string() : platform::Operador());  // 3
    args.emplace_back(msg("Maior que"));                                 // 4
    args.emplace_back(msg("Menor que"));                                 // 5
    args.emplace_back(msg("Entre"));                                     // 6
    args.emplace_back(deleting ? false : boConcAnalise);                 // 7
    args.emplace_back(msg("AlmoxOrig_Cad"));                             // 8
    args.emplace_back(msg("AlmoxDest_Cad"));                             // 9
    args.emplace_back(msg("Est_Irreg"));                                 // 10
    args.emplace_back(field("CDPRODUTO"));                               // 11
    args.emplace_back(field("NRLOTEESTQ"));                              // 12
    args.emplace_back(field("NRSUBLOTE"));                               // 13
    args.emplace_back(deleting ? std::string() : platform::FiliProc());  // 14
    args.emplace_back(msg("LancRef"));                                   // 15
    args.emplace_back(field("NRAUDITORIA"));                             // 16
    args.emplace_back(stIdAna);                                          // 17, by reference
    args.emplace_back(s.comps.has("dbeMarcaProd") ? header::boxText(s, "dbeMarcaProd") : std::string());  // 18
    args.emplace_back(text(s, "IDTPAUDITADO"));                                                           // 19
    if (deleting)                                                                                         // 20
        args.emplace_back(0);
    else
        args.emplace_back(a.field("QTAMOSAUDI").asFloat());
    args.emplace_back(deleting ? false : boReverteTransf);  // 21
    args.emplace_back(text(s, "TIPOANA"));                  // 22
    args.emplace_back(boAltValidade);                       // 23
    args.emplace_back(DtConclusaoAux);                      // 24, by reference
    if (deleting) {                                         // 25, 26, by reference
        args.emplace_back(0);
        args.emplace_back(0);
    } else {
        args.emplace_back(s.vrAprovada);
        args.emplace_back(s.vrReprovada);
    }
    args.emplace_back(deleting ? std::string() : s.stNewSubLote);  // 27, by reference
    return args;
}

// A delete sends constants in place of the quantities and the sub-lot: only the
// kind of analysis and the conclusion moment come back into variables.
void readBack(TfrmPedidoAna& s, const std::vector<core::Variant>& args, bool deleting) {
    stIdAna = args[16].value.isNull() ? std::string() : args[16].value.asString();
    DtConclusaoAux = args[23].value.isNull() ? core::DateTime() : args[23].value.asDateTime();
    if (deleting) return;
    s.vrAprovada = args[24].value.isNull() ? 0.0 : args[24].value.asFloat();
    s.vrReprovada = args[25].value.isNull() ? 0.0 : args[25].value.asFloat();
    s.stNewSubLote = args[26].value.isNull() ? std::string() : args[26].value.asString();
}

void sendHeader(TfrmPedidoAna& s, bool deleting) {
    std::vector<core::Variant> args = saveArguments(s, deleting);
    const core::Variant result = platform::withShowAvi(1, [&] { return s.netPedidoAna.call("SetAuditoria", args); });
    platform::CheckResultServ(result);
    readBack(s, args, deleting);
}

// While the save copies the recalculated validity it posts the header itself, with
// nothing to check and nothing more to send.
bool refreshingValidity = false;

}  // namespace

namespace save {

std::string messageOf(const TfrmPedidoAna& s, const std::string& serverMessage) {
    for (const auto& r : kRefusals)
        if (serverMessage == r.code) return s.msgPadrao.Msg(r.key);
    return serverMessage;
}

void raiseSaveError(TfrmPedidoAna& s, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const core::Error& e) {
        const std::string message = e.what();
        if (message.find(kStockIrregular) != std::string::npos) {
            platform::host().showMessage(withoutMarker(message), platform::MsgType::Information);
            throw core::Abort();
        }
        const std::string shown = messageOf(s, message);
        if (shown != message) throw core::Error(shown);
        throw;
    }
}

bool postingItself() { return refreshingValidity; }

void setBrandControls(TfrmPedidoAna& s) {
    const auto* ds = s.comps.dataSource("dtsAuditoria");
    const bool inserting = ds && ds->state() == core::DataSetState::Insert;
    for (const char* name : {"lblMarca", "dbeMarcaProd", "btnPesqMarca"})
        if (auto* c = s.comps.find(name)) c->enabled = inserting;
}

}  // namespace save

void cdsAuditoriaAfterPost(TfrmPedidoAna& s) {
    if (refreshingValidity) return;
    auto& a = s.cdsAuditoria;
    try {
        if (a.changeCount() > 0) {
            boAlteraStatus = false;
            sendHeader(s, false);
            boReverteTransf = false;
            a.mergeChangeLog();
            if (boAltValidade) {
                // The server stored the new validity; the list shows it without another save.
                refreshingValidity = true;
                try {
                    a.edit();
                    const core::DateTime v = s.cdsValidade.field("VALIDADEATUAL").asDateTime();
                    a.field("DTVALANA").setValue(core::formatDateTime("ddddd", v));
                    a.post();
                    a.mergeChangeLog();
                } catch (...) {
                    refreshingValidity = false;
                    throw;
                }
                refreshingValidity = false;
            }
        }
        save::setBrandControls(s);
        boAltValidade = false;
    } catch (...) {
        boReverteTransf = false;
        boAltValidade = false;
        boControle = true;
        a.cancelUpdates();
        save::raiseSaveError(s, std::current_exception());
    }
}

void cdsAuditoriaAfterDelete(TfrmPedidoAna& s) {
    auto& a = s.cdsAuditoria;
    try {
        if (a.changeCount() > 0) {
            sendHeader(s, true);
            a.mergeChangeLog();
        }
        save::setBrandControls(s);
        boAltValidade = false;
    } catch (...) {
        // The deleted request comes back as the server still holds it.
        boAltValidade = false;
        a.cancelUpdates();
        showHourBoxes(s);
        save::raiseSaveError(s, std::current_exception());
    }
    showHourBoxes(s);
}

}  // namespace screen
