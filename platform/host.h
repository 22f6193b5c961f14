#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/recordset.h"

namespace platform {

class Form;

enum class MsgType { Information, Warning, Error, Confirmation };
enum class MsgButtons { Ok, YesNo, OkCancel };
enum class MsgResult { Ok, Yes, No, Cancel };

// A modal pick list over a record set. The host shows `columns` (all visible
// fields when empty) and answers the chosen row (0-based among the visible rows).
struct LookupRequest {
    core::RecordSet* source = nullptr;
    std::string title;
    std::string emptyText;
    std::vector<std::string> columns;
    bool multiSelect = false;  // PesquisaLista: several rows may be chosen
};

// The interactive services of the host: the Qt host shows real dialogs, the
// scripted host of the tests answers from a script and records what it was shown.
class Host {
public:
    virtual ~Host() = default;
    virtual void showMessage(const std::string& text, MsgType type) = 0;
    virtual MsgResult ask(const std::string& text, MsgType type, MsgButtons buttons) = 0;
    // Chosen rows (one unless multiSelect); empty when the user cancelled.
    virtual std::vector<int> pickRows(const LookupRequest& request) = 0;
    // The date-time picker "LKS59421": the picked value, or nullopt for none.
    virtual std::optional<core::DateTime> pickDateTime(core::DateTime initial) = 0;
    // Another screen module started through LoadBPL ("LKS52738" and others).
    virtual void runModule(const std::string& code, const std::vector<std::string>& args) = 0;
    virtual void waitOn(int kind) = 0;
    virtual void waitOff() = 0;
    // A screen of the module becomes visible, or goes away (the GUI creates or
    // drops its window).
    virtual void showScreen(Form& screen) {}
    virtual void closeScreen(Form& screen) {}
    // Shows a dialog modally and returns once its ModalResult is set; the scripted
    // host plays the script's answer for it instead.
    virtual int runModal(Form& dialog) = 0;
    // The session ran out: asks the logged-in operator's password again, showing
    // `prompt` ("Sessão expirada. Entre novamente." or the last refusal). The
    // operator cannot be changed here. nullopt when the user gave up.
    virtual std::optional<std::string> askPassword(const std::string& operador, const std::string& prompt) {
        return std::nullopt;
    }
};

// The process's host; a ScriptedHost until the GUI installs its own.
Host& host();
void setHost(Host* h);  // nullptr restores the default scripted host

// Session values the host supplies: who is logged in, where the server and the
// database are.
struct Session {
    std::string operador;      // operator code
    std::string nomeOperador;  // operator name
    std::string filial;        // working branch
    std::string webUrl = "127.0.0.1";
    int webPort = 0;
    bool webTls = false;  // https: the server's certificate is verified
    std::string caFile;   // certificate authority for https; empty: the system's store
    // The server's session token (Host/Login answers it); every call carries it.
    std::string token;
    // Direct queries: SOCI backend ("sqlite3", "postgresql", "firebird", "odbc",
    // "oracle") and its connect string.
    std::string dbBackend = "sqlite3";
    std::string dbConnect;
};
Session& session();

}  // namespace platform
