#include "platform/services.h"

#include <fmt/format.h>
#include <sodium.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <mutex>

#include "core/error.h"
#include "core/format.h"
#include "core/quantity.h"
#include "core/treecode.h"
#include "platform/netconnection.h"

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (!std::isdigit(c)) return false;
    return true;
}

// The host's own services live in the server module "Host", next to the screen modules.
core::Variant askHost(const std::string& method, std::vector<core::Variant> args) {
    TNetConnection conn("Host");
    conn.OnBeforeConnect = pointAtSessionServer;
    conn.Open();
    auto result = conn.call(method, args);
    CheckResultServ(result, true, 0);
    return result;
}

void initSodium() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0) throw core::Error("Não foi possível iniciar a biblioteca de criptografia.");
    });
}

std::string minutesText(long long minutes) {
    const bool negative = minutes < 0;
    if (negative) minutes = -minutes;
    return fmt::format("{}{}:{:02}", negative ? "-" : "", minutes / 60, minutes % 60);
}

bool chooseRows(core::RecordSet& source, const std::string& title, const std::string& emptyText,
                const std::vector<std::string>& columns, bool multi, std::vector<int>& chosen) {
    chosen.clear();
    if (!source.active() || source.isEmpty()) {
        host().showMessage(emptyText.empty() ? "Nenhum registro encontrado." : emptyText,
                           MsgType::Information);
        return false;
    }
    LookupRequest req;
    req.source = &source;
    req.title = title;
    req.emptyText = emptyText;
    req.columns = columns;
    req.multiSelect = multi;
    const int count = source.recordCount();
    for (int row : host().pickRows(req))
        if (row >= 0 && row < count) chosen.push_back(row);
    if (chosen.empty()) return false;
    if (!multi) chosen.resize(1);
    source.moveTo(chosen.front() + 1);
    return true;
}

}  // namespace

// --- session ---

std::string Operador() {
    return session().operador;
}
std::string NomeOperador() {
    return session().nomeOperador;
}
std::string FiliProc() {
    return session().filial;
}
std::string WebURL() {
    return session().webUrl;
}
int WebPort() {
    return session().webPort;
}
void pointAtSessionServer(TNetConnection& conn) {
    conn.Host = WebURL();
    conn.Port = WebPort();
    conn.Tls = session().webTls;
    conn.CaFile = session().caFile;
}

core::DateTime DtServ(const std::string& kind) {
    const core::DateTime now = askHost("DtServ", {kind}).value.asDateTime();
    return AllTrim(kind) == "S" ? now.datePart() : now;
}

bool Autorizacao(const std::string& operador, const std::string& code) {
    return askHost("Autorizacao", {operador, code}).value.asBool();
}

bool SenhaOK(const std::string& typed, const std::string& storedHash) {
    initSodium();
    // Only a real argon2id hash can match: a clear text stored by mistake never does.
    if (storedHash.rfind("$argon2id$", 0) != 0 || storedHash.size() >= crypto_pwhash_STRBYTES) return false;
    return crypto_pwhash_str_verify(storedHash.c_str(), typed.data(), typed.size()) == 0;
}

std::string HashSenha(const std::string& password) {
    initSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw core::Error("Não foi possível gerar o código da senha (memória insuficiente).");
    return out;
}

void MensErro(const std::string& text, bool) {
    throw core::Error(text);
}

// --- text ---

bool EmptyString(const std::string& s) {
    for (char c : s)
        if (!isBlank(c)) return false;
    return true;
}

std::string AllTrim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string Replicate(const std::string& s, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += s;
    return out;
}

std::string Ajusta(const std::string& code, int width) {
    const std::string t = AllTrim(code);
    if (!allDigits(t) || static_cast<int>(t.size()) >= width) return t;
    return std::string(width - t.size(), '0') + t;
}

double RoundDec(double value, int decimals) { return core::roundDecimals(value, decimals); }

void MaxNumber(const std::string& text, int intDigits, int decDigits, const std::string& key, int selStart,
               int selLength) {
    // Control and named keys (backspace, "Enter", "Delete") always pass.
    if (key.size() != 1 || static_cast<unsigned char>(key[0]) < 32) return;
    const char k = key[0];
    if (!std::isdigit(static_cast<unsigned char>(k)) && k != ',' && k != '.' && k != '-') throw core::Abort();
    const int len = static_cast<int>(text.size());
    const int start = std::clamp(selStart, 0, len);
    const int count = std::clamp(selLength, 0, len - start);
    const std::string after = text.substr(0, start) + key + text.substr(start + count);

    // The box shows Brazilian numbers: "," is the decimal point and "." groups thousands.
    // Without a ",", a "." is still a thousands dot where it closes a valid group and
    // opens one of exactly three digits ("1.234", "12.345.6"); otherwise it is the
    // decimal point ("1.5", "0.125", "1234.567"). Thousands dots count as nothing.
    const bool hasComma = after.find(',') != std::string::npos;
    const auto digitsFrom = [&](size_t i) {
        size_t n = 0;
        while (i + n < after.size() && std::isdigit(static_cast<unsigned char>(after[i + n]))) ++n;
        return n;
    };
    int ints = 0, decs = 0, seps = 0;
    int group = 0;         // digits since the start or the last thousands dot
    bool grouped = false;  // a thousands dot came before
    char firstDigit = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        const char c = after[i];
        if (c == '-') {
            if (i != 0) throw core::Abort();
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            (seps ? decs : ints)++;
            ++group;
            if (!firstDigit) firstDigit = c;
        } else if (c == ',') {
            ++seps;
        } else {  // '.'
            const size_t next = i + 1 + digitsFrom(i + 1);
            const bool closesGroup = grouped ? group == 3 : group >= 1 && group <= 3 && firstDigit != '0';
            const bool opensGroup = next - i - 1 == 3 && (next == after.size() || after[next] == '.');
            if (!seps && (hasComma || (closesGroup && opensGroup))) {
                grouped = true;
                group = 0;
            } else {
                ++seps;
            }
        }
    }
    if (seps > 1 || (seps && decDigits <= 0) || ints > intDigits || decs > decDigits) throw core::Abort();
}

// --- time ---

std::string SubtDataHora(core::DateTime from, core::DateTime to) {
    return minutesText(std::llround((to.days - from.days) * 1440.0));
}

double StTimeToReal(const std::string& text) {
    std::string t;
    for (char c : text)
        if (!isBlank(c) && c != '_') t += c;
    if (t.empty() || t == ":") return 0.0;
    const auto bad = [&]() -> core::Error {
        return core::Error("Hora inválida: \"" + AllTrim(text) + "\". Informe horas e minutos como h:mm.");
    };
    bool negative = false;
    if (t[0] == '-') {
        negative = true;
        t.erase(0, 1);
    }
    const auto colon = t.find(':');
    if (colon == std::string::npos) throw bad();
    const std::string h = t.substr(0, colon), m = t.substr(colon + 1);
    if (!allDigits(h) || !allDigits(m) || h.size() > 9 || m.size() > 2) throw bad();
    const int minutes = std::stoi(m);
    if (minutes > 59) throw bad();
    const double hours = std::stoll(h) + minutes / 60.0;
    return negative ? -hours : hours;
}

std::string RealToStTime(double hours) {
    if (!std::isfinite(hours) || std::fabs(hours) > 1e9) throw core::Error("Quantidade de horas inválida.");
    return minutesText(std::llround(hours * 60.0));
}

// --- masks and fields ---

std::string DateMask() {
    return "!99/99/9999;1;_";
}

std::string PictPess(const std::string& personType) {
    const std::string t = AllTrim(personType);
    if (t == "F" || t == "f") return "999.999.999-99;0;_";
    if (t == "J" || t == "j") return "99.999.999/9999-99;0;_";
    return {};
}

void Seta_Campo_Null(core::RecordSet& set) {
    if (set.state() != core::DataSetState::Edit && set.state() != core::DataSetState::Insert) return;
    for (size_t i = 0; i < set.fieldCount(); ++i) {
        auto& f = set.fieldAt(i);
        if (f.calculated || f.isNull()) continue;
        if (f.value().isString() && EmptyString(f.value().asString())) f.clear();
    }
}

bool CheckDateTime(const core::Field& field) {
    if (field.isNull()) return false;
    try {
        return field.asDateTime().days > 0.0;
    } catch (const std::exception&) {
        return false;
    }
}

void CheckDateTime(core::Field& field, const std::string& text) {
    if (text.find_first_of("0123456789") == std::string::npos) {
        field.clear();
        return;
    }
    const auto parsed = core::parseDateTime(AllTrim(text));
    if (!parsed) MensErro(AllTrim(text) + " não é uma data valida.");
    field.setValue(*parsed);
}

int IndiceCol(const Control& grid, const std::string& field) {
    const std::string want = core::utf8Upper(field);
    for (size_t i = 0; i < grid.columns.size(); ++i)
        if (core::utf8Upper(grid.columns[i].field) == want) return static_cast<int>(i);
    return -1;
}

std::string GridText(const core::RecordSet& set, int row, const std::string& field) {
    if (!set.active() || row < 0 || row >= set.recordCount()) return {};
    return set.displayTextAt(row, field);
}

std::string GridText(const Control& grid, const core::RecordSet& set, int row, int column) {
    if (column < 0 || column >= static_cast<int>(grid.columns.size())) return {};
    return GridText(set, row, grid.columns[column].field);
}

// --- tree-code pictures ---

std::string DBPict(int pictureType) {
    return core::treePicture(pictureType).picture() + ";0;_";
}

std::string DBPictObj(int pictureType) {
    return core::treePicture(pictureType).picture();
}

int Nivel(int pictureType, const std::string& code) {
    const auto& pic = core::treePicture(pictureType);
    const std::string digits = pic.strip(code);
    return allDigits(digits) ? pic.levelOf(digits) : 0;
}

int TamAcNivel(int pictureType, int level) {
    return core::treePicture(pictureType).lengthToLevel(level);
}

int GetTtNiveis(int pictureType) {
    return core::treePicture(pictureType).levels();
}

bool ValidEx(const std::string&, int pictureType, const std::string& code, const std::string&) {
    return Nivel(pictureType, code) > 0;
}

// --- wait animation, lookups, other modules ---

void ActiveShowAvi(int kind) {
    host().waitOn(kind);
}

void DeactiveShowAvi() {
    host().waitOff();
}

bool Pesquisar(core::RecordSet& source, const std::string& title, const std::string& emptyText,
               const std::vector<std::string>& columns) {
    std::vector<int> chosen;
    return chooseRows(source, title, emptyText, columns, false, chosen);
}

bool Pesquisar_Plus(core::RecordSet& source, const std::string& title, const std::string& emptyText,
                    const std::vector<std::string>& columns) {
    return Pesquisar(source, title, emptyText, columns);
}

bool PesquisaLista(core::RecordSet& source, const std::string& title, const std::string& emptyText,
                   std::vector<int>& chosen, const std::vector<std::string>& columns) {
    return chooseRows(source, title, emptyText, columns, true, chosen);
}

namespace {

// The scheduled-task module "LKS52738": the server raises the requests of the plans
// that fell due for the module named in args[0], in one call, and the user is told
// how many.
void runScheduledTasks(const std::vector<std::string>& args) {
    const std::string module = args.empty() ? std::string() : AllTrim(args[0]);
    const auto created = withShowAvi(6, [&] { return askHost("GeraTarefas", {module, FiliProc(), Operador()}); });
    const auto n = created.value.asInteger();
    host().showMessage(n == 0   ? std::string("Nenhuma tarefa programada vencida: nenhum pedido de análise foi gerado.")
                       : n == 1 ? std::string("1 pedido de análise gerado pelas tarefas programadas.")
                                : std::to_string(n) + " pedidos de análise gerados pelas tarefas programadas.",
                       MsgType::Information);
}

}  // namespace

void LoadBPL(const std::string& code, std::vector<std::string>& args) {
    if (code == "LKS52738") {
        runScheduledTasks(args);
        return;
    }
    if (code != "LKS59421") {
        host().runModule(code, args);
        return;
    }
    core::DateTime initial = core::DateTime::now();
    if (!args.empty() && !EmptyString(args[0])) {
        // Days with a "." point, as written below, whatever the process locale.
        const auto d = core::parseCNumber(AllTrim(args[0]));
        if (d && std::isfinite(*d) && *d > 0) initial = core::DateTime(*d);
    }
    const auto picked = host().pickDateTime(initial);
    if (args.empty()) args.emplace_back();
    args[0] = picked ? fmt::format("{}", picked->days) : "0";
}

void AtualizaLocalCache(const std::string&) {}

}  // namespace platform
