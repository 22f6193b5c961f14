#include "dialogs/authorization.h"

#include "core/format.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/fresh_dialog.h"
#include "dialogs/server_call.h"
#include "platform/services.h"
#include "screen/frame/module_state.h"

namespace cli_mxa07304 {

using platform::Color;
using platform::ControlKind;
using platform::MensErro;

TfrmContQuali* frmContQuali = nullptr;
bool boIdCriado = false;
std::string stAuditoria;
std::string stPermissao;
std::string stOperLibAna;

namespace {

constexpr int kShortHeight = 107;
constexpr int kFullHeight = 192;

// Lookup of the session's operators; the same text in every dialect.
constexpr const char* kQryOperador =
    "SELECT CDOPERADOR,\n"
    "NMOPERADOR\n"
    "FROM OPERADOR\n"
    "ORDER BY CDOPERADOR";

}  // namespace

TfrmContQuali::TfrmContQuali() {
    screenCode = "MXA07304";
    caption = "Controle de Qualidade";
    msgPadrao.add("Oper_Inv", "Operador não possui permissão para alterar a Análise concluída.");
    msgPadrao.add("Oper_Inv_Exc", "Operador não possui permissão para excluir análise.");
    msgPadrao.add("Oper_Inv_InExc", "Operador não possui permissão para Incluir/Excluir ítens em análises.");
    msgPadrao.add("Oper_Conc", "Operador não possui permissão para concluir análise.");
    msgPadrao.add("Sen_Inv", "Senha inválida");
    msgPadrao.add("Inf_Sen", "Senha deve ser informada");
    msgPadrao.add("Inf_Jus", "Justificativa deve ser informda.");
    msgPadrao.add("Jus_NCad", "Justificativa não cadastrada");
    msgPadrao.add("DATAHORA_INVALIDA", "Não é uma data / hora válida.");
    declareSets();
}

TfrmContQuali::~TfrmContQuali() = default;

void TfrmContQuali::declareSets() {
    using core::FieldType;
    cdsPermissao.addField("CDGRUPOPER", FieldType::String, 2);
    cdsPermissao.addField("CDOPERADOR", FieldType::String, 12);
    cdsPermissao.addField("NMOPERADOR", FieldType::String, 40);
    // Kept for the packet's shape; the server never fills it.
    cdsPermissao.addField("CDSENHOPER", FieldType::String, 128);
    cdsPermissao.addField("CDLIDGRUPOP", FieldType::String, 12);
    cdsPermissao.addField("IDLIDER", FieldType::String, 1);
    // CDSENHOPER always comes empty; IDSENHAOK says whether the typed password matched.
    cdsVdOperador.addField("CDSENHOPER", FieldType::String, 128);
    cdsVdOperador.addField("NMOPERADOR", FieldType::String, 40);
    cdsVdOperador.addField("IDSENHAOK", FieldType::String, 1);
    dialogs::declareJustificationSet(cdsJustificativa, true);
    dialogs::declareJustificationSet(cdsVdJustificativa, false);
    qryOperador.SQL = qryOperador.SQL_ORACLE = qryOperador.SQL_MSSQL = qryOperador.SQL_IB = kQryOperador;
    qryOperador.addField("CDOPERADOR", FieldType::String, 12, "Código");
    qryOperador.addField("NMOPERADOR", FieldType::String, 40, "Operador");
}

void TfrmContQuali::buildControls() {
    dialogs::addConfirmCancel(comps, [this] { sbtConfirmaClick(); }, [this] { sbtCancelClick(); });

    comps.add("lblOperador", ControlKind::Label, {}, "Operador");
    auto& oper = comps.add("edtOperador", ControlKind::Edit);
    oper.maxLength = 12;
    oper.onExit = [this] { edtOperadorExit(); };
    oper.onChange = [this] { edtOperadorChange(); };
    auto& pesqOper = comps.add("btnPesqOper", ControlKind::LookupButton);
    pesqOper.hint = "Operador";
    pesqOper.onClick = [this] { btnPesqOper.Click(); };
    auto& nome = comps.add("edtNmOperador", ControlKind::Edit);
    nome.readOnly = true;
    nome.color = Color::BtnFace;

    comps.add("lblSenha", ControlKind::Label, {}, "Senha");
    auto& senha = comps.add("edtSenha", ControlKind::Edit);
    senha.color = Color::Window;
    senha.passwordChar = '*';
    senha.onExit = [this] { edtSenhaExit(); };

    comps.add("lblData", ControlKind::Label, {}, "Data");
    auto& data = comps.add("medData", ControlKind::MaskEdit);
    data.onExit = [this] { medDataExit(); };

    dialogs::addJustificationGroup(
        comps, btnPesqJus, cdsJustificativa,
        {[this] { edtJusExit(); }, [this] { edtJusChange(); }, [this](bool& cancel) { btnPesqJusBeforePesq(cancel); },
         [this] { btnPesqJusAfterPesq(); }});

    btnPesqOper.name = "btnPesqOper";
    btnPesqOper.OnBeforePesq = [this](bool& cancel) { btnPesqOperBeforePesq(cancel); };
    btnPesqOper.OnPesquisa = [this] {
        if (!platform::Pesquisar(qryOperador, "Operador", "Não há operador cadastrada.")) throw core::Abort();
    };
    btnPesqOper.OnAfterPesq = [this] { btnPesqOperAfterPesq(); };
}

void TfrmContQuali::FormCreate() {
    TfrmRotiGeral::FormCreate();
    buildControls();
    // Not granted until a confirm says so, even if the connection cannot be opened.
    screen::ValidaTela = true;
    dialogs::openOwnConnection(netVdOperador);
}

bool TfrmContQuali::shortLayout() const { return stAuditoria.empty() && stPermissao != EXCA && stPermissao != IEIA; }

void TfrmContQuali::FormActivate() {
    setText("edtOperador", platform::Operador());
    comps["edtNmOperador"].text = platform::NomeOperador();

    const bool brief = shortLayout();
    // The operator may be changed when any operator may authorize: the short
    // layout, and deleting or including/excluding on a request. For ALTC and CANA
    // on a request only the session operator can.
    const bool operEditable = brief || stPermissao == EXCA || stPermissao == IEIA;
    for (const char* name : {"edtOperador", "btnPesqOper"}) {
        comps[name].enabled = operEditable;
        comps[name].color = operEditable ? Color::Window : Color::BtnFace;
    }
    for (const char* name : {"lblData", "medData", "grbJustificativa", "edtJus", "btnPesqJus", "edtInfoJus"}) {
        comps[name].enabled = !brief;
        comps[name].visible = !brief;
    }
    if (brief) {
        Height = kShortHeight;
    } else {
        const std::string dateMask = platform::DateMask();
        comps["medData"].mask = dateMask.substr(0, dateMask.size() - 4) + " 99:99;1; ";
        comps["medData"].text = core::formatDateTime("ddddd hh:nn", platform::DtServ("H"));
        comps["medData"].color = Color::Window;
        Height = kFullHeight;
    }
    stOperLibAna.clear();
    comps.setFocus(operEditable ? "edtOperador" : "edtSenha");
}

void TfrmContQuali::FormClose() {
    boIdCriado = false;
    netVdOperador.Close();
}

void TfrmContQuali::setText(const std::string& control, const std::string& text) {
    dialogs::setControlText(comps, control, text);
}

void TfrmContQuali::refuse() {
    if (stPermissao == ALTC) MensErro(msgPadrao.Msg("Oper_Inv"), true);
    if (stPermissao == EXCA) MensErro(msgPadrao.Msg("Oper_Inv_Exc"), true);
    if (stPermissao == IEIA) MensErro(msgPadrao.Msg("Oper_Inv_InExc"), true);
    MensErro(msgPadrao.Msg("Oper_Conc"), true);
}

void TfrmContQuali::Vd_Operador() {
    // The server checks the typed password against the operator's argon2id hash and
    // answers only whether it matched: neither the password nor its hash is kept or
    // sent back.
    const std::string& typed = comps["edtSenha"].text;
    std::vector<core::Variant> args{comps["edtOperador"].text};
    if (!typed.empty()) args.emplace_back(typed);
    dialogs::loadServer(netVdOperador, "GetVdOperador", args, 6, cdsVdOperador);
    if (!cdsVdOperador.isEmpty()) comps["edtNmOperador"].text = cdsVdOperador["NMOPERADOR"].asString();
    // An unknown operator answers no row, and so no match.
    if (!typed.empty() && cdsVdOperador["IDSENHAOK"].asString() != "S") {
        comps.setFocus("edtSenha");
        MensErro(msgPadrao.Msg("Sen_Inv"), true);
    }
}

void TfrmContQuali::Vd_Data() {
    const std::string& text = comps["medData"].text;
    if (!core::parseDateTime(text)) {
        comps.setFocus("medData");
        MensErro("'" + text + "' " + msgPadrao.Msg("DATAHORA_INVALIDA"), true);
    }
}

void TfrmContQuali::Vd_Justificativa() {
    if (comps["edtJus"].text.empty()) return;
    dialogs::checkJustification(comps, msgPadrao, netVdOperador, cdsVdJustificativa);
}

void TfrmContQuali::GetJustificativa() { dialogs::loadJustifications(netVdOperador, cdsJustificativa); }

void TfrmContQuali::sbtConfirmaClick() {
    dialogs::requireFilled(comps, "edtSenha", msgPadrao.Msg("Inf_Sen"));
    Vd_Operador();

    std::vector<core::Variant> perm{comps["edtOperador"].text, stPermissao};
    dialogs::loadServer(netVdOperador, "GetPermissao", perm, 6, cdsPermissao);
    stPermissao = perm[1].value.asString();  // passed by reference

    if (stAuditoria.empty()) {
        stOperLibAna.clear();
        if (cdsPermissao.isEmpty()) {
            screen::ValidaTela = true;
            comps.setFocus("edtOperador");
            refuse();
        }
        screen::ValidaTela = false;
        if (stPermissao == CANA) stOperLibAna = cdsPermissao["CDOPERADOR"].asString();
        ModalResult = platform::mrOk;
        return;
    }

    if (cdsPermissao.isEmpty()) {
        screen::ValidaTela = true;
        refuse();
    }
    dialogs::requireFilled(comps, "edtJus", msgPadrao.Msg("Inf_Jus"));
    Vd_Justificativa();
    Vd_Data();

    // Granted only once the justification is on record: a failed write must make
    // the caller abandon its change.
    screen::ValidaTela = true;
    // The trail also keeps the permission and the operator whose password granted it,
    // since the justification goes in the session operator's name.
    dialogs::recordJustification(comps["edtJus"].text, stAuditoria, stPermissao, comps["edtOperador"].text,
                                 stPermissao != IEIA);
    screen::ValidaTela = false;
    ModalResult = platform::mrOk;
}

void TfrmContQuali::sbtCancelClick() {
    // ValidaTela stays true: the caller abandons its change.
    ModalResult = platform::mrCancel;
}

void TfrmContQuali::edtOperadorExit() {
    setText("edtOperador", platform::Ajusta(comps["edtOperador"].text, 12));
    Vd_Operador();
}

void TfrmContQuali::edtOperadorChange() { comps["edtNmOperador"].text.clear(); }

void TfrmContQuali::edtSenhaExit() { Vd_Operador(); }

void TfrmContQuali::medDataExit() { Vd_Data(); }

void TfrmContQuali::edtJusExit() { Vd_Justificativa(); }

void TfrmContQuali::edtJusChange() { comps["edtInfoJus"].text.clear(); }

void TfrmContQuali::btnPesqOperBeforePesq(bool&) {
    // Reopened so that the list is current.
    qryOperador.close();
    qryOperador.Open();
}

void TfrmContQuali::btnPesqOperAfterPesq() {
    setText("edtOperador", qryOperador["CDOPERADOR"].asString());
    comps["edtNmOperador"].text = qryOperador["NMOPERADOR"].asString();
}

void TfrmContQuali::btnPesqJusBeforePesq(bool&) { GetJustificativa(); }

void TfrmContQuali::btnPesqJusAfterPesq() { dialogs::takeChosenJustification(comps, cdsJustificativa); }

void CriaContQuali(const std::string& auditoria, const std::string& permissao) {
    stAuditoria = auditoria;
    stPermissao = permissao;
    dialogs::showFreshDialog(frmContQuali, boIdCriado);
}

}  // namespace cli_mxa07304
