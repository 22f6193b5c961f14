#pragma once
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/recordset.h"
#include "platform/components.h"
#include "platform/host.h"

namespace platform {

class TNetConnection;

// Session values: the logged-in operator and the working branch.
std::string Operador();
std::string NomeOperador();
std::string FiliProc();
std::string WebURL();
int WebPort();
// Points a connection at the session's server: WebURL, WebPort and its transport
// (HTTPS and the authority its certificate is checked against).
void pointAtSessionServer(TNetConnection& conn);

// Server date-time from the server's clock: "H" date and time, "S" date only.
core::DateTime DtServ(const std::string& kind = "H");
// True when the operator belongs to a group holding the permission code.
bool Autorizacao(const std::string& operador, const std::string& code);
// True when the typed password matches the stored argon2id hash. A stored value
// that is not such a hash never matches: no password is kept in clear.
bool SenhaOK(const std::string& typed, const std::string& storedHash);
// argon2id hash of a password, as the server stores it.
std::string HashSenha(const std::string& password);

// Shows an error in the system's words and aborts the operation in progress:
// throws core::Error carrying the text (runHandler shows it).
[[noreturn]] void MensErro(const std::string& text, bool abort = true);

// Text helpers.
bool EmptyString(const std::string& s);  // empty or blanks only
std::string AllTrim(const std::string& s);
std::string Replicate(const std::string& s, int count);
// Right-aligns a typed code in its field width, left-padded with zeros, so that
// "7" and "0007" meet. A text longer than the width, or one that is not all
// digits, comes back trimmed and otherwise as typed.
std::string Ajusta(const std::string& code, int width);
double RoundDec(double value, int decimals);
// Key filter of numeric boxes: throws core::Abort when the key would give more
// than intDigits integer or decDigits decimal digits. `selStart`/`selLength` are
// the box's selection, replaced by the key.
void MaxNumber(const std::string& text, int intDigits, int decDigits, const std::string& key, int selStart,
               int selLength);
// Elapsed time from `from` to `to` as "h:nn" (hours may exceed 24; "-" before a
// negative span).
std::string SubtDataHora(core::DateTime from, core::DateTime to);
// "1:30" -> 1.5 hours; "" -> 0. Throws core::Error for text that is not h:nn.
double StTimeToReal(const std::string& text);
// 1.5 -> "1:30"; minutes rounded; hours may exceed 24.
std::string RealToStTime(double hours);
// The host's date edit mask "!99/99/9999;1;_": its last 4 characters are the options.
std::string DateMask();
// Tax-number mask by person type: "F" CPF "999.999.999-99;0;_", "J" CNPJ "99.999.999/9999-99;0;_".
std::string PictPess(const std::string& personType);
// Every empty text of the current record becomes null (the set in edit or insert).
void Seta_Campo_Null(core::RecordSet& set);
// True when the field's value is a real date-time (not null, greater than zero).
bool CheckDateTime(const core::Field& field);
// Typed date-time text into the field: a box left blank (its mask's literals only)
// clears it; anything else must be a real date and time, or the host refuses it in
// its words and the field keeps its value.
void CheckDateTime(core::Field& field, const std::string& text);
// Index of the grid column showing `field` (case-insensitive); -1 when none does.
int IndiceCol(const Control& grid, const std::string& field);
// Text a grid shows in a cell: visible row (0-based) of the set, by field or by column.
std::string GridText(const core::RecordSet& set, int row, const std::string& field);
std::string GridText(const Control& grid, const core::RecordSet& set, int row, int column);

// Tree-code pictures: mask, level of a code, length to a level, level count.
std::string DBPict(int pictureType);
std::string DBPictObj(int pictureType);  // the picture without the mask options
int Nivel(int pictureType, const std::string& code);
int TamAcNivel(int pictureType, int level);
int GetTtNiveis(int pictureType);
// True when `code` is a complete code of the picture (levels only, digits only).
bool ValidEx(const std::string& source, int pictureType, const std::string& code, const std::string& options = {});

// Wait animation around longer server calls.
void ActiveShowAvi(int kind = 6);
void DeactiveShowAvi();

// Runs `call` under the wait animation of `kind`; the animation goes however the
// call ends, so a failed server call never leaves it running.
template <class Call>
decltype(auto) withShowAvi(int kind, Call&& call) {
    struct Showing {
        explicit Showing(int k) { ActiveShowAvi(k); }
        ~Showing() { DeactiveShowAvi(); }
    } showing(kind);
    return call();
}

// Lookups: a modal pick list over `source`; true (and the chosen row current) when
// a row was chosen.
bool Pesquisar(core::RecordSet& source, const std::string& title, const std::string& emptyText,
               const std::vector<std::string>& columns = {});
bool Pesquisar_Plus(core::RecordSet& source, const std::string& title, const std::string& emptyText,
                    const std::vector<std::string>& columns = {});
// Several rows may be chosen; their positions (0-based) come back in `chosen`.
bool PesquisaLista(core::RecordSet& source, const std::string& title, const std::string& emptyText,
                   std::vector<int>& chosen, const std::vector<std::string>& columns = {});

// Runs another screen module. "LKS59421" is the date-time picker: args[0] is the
// initial value as days, and on return args[0] holds the picked date-time
// ("0" for none). "LKS52738" runs the scheduled tasks of the module args[0] names
// ("ANA": the analysis plans that fell due) and tells the user how many requests
// it raised. Other codes go to the host.
void LoadBPL(const std::string& code, std::vector<std::string>& args);
// Refreshes the host's local copy of a table; a no-op here, nothing is cached.
void AtualizaLocalCache(const std::string& table);

}  // namespace platform
