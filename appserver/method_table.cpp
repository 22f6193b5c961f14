#include "appserver/method_table.h"

#include <cmath>
#include <mutex>

#include "appserver/refusal.h"

namespace appserver {

namespace {

const char* argName(Arg a) {
    switch (a) {
        case Arg::Text: return "texto";
        case Arg::Number: return "número";
        case Arg::Integer: return "número inteiro";
        case Arg::DateTime: return "data";
        case Arg::Boolean: return "lógico";
        case Arg::Packet: return "pacote de dados";
        case Arg::Any: return "valor";
    }
    return "valor";
}

bool fits(Arg a, const core::Variant& v) {
    if (a == Arg::Any) return true;
    if (a == Arg::Packet) return v.isPacket();
    if (v.isPacket()) return false;
    const auto& x = v.value;
    if (x.isNull()) return true;  // the host passes an empty variant for "nothing"
    switch (a) {
        case Arg::Text: return x.isString();
        case Arg::Number: return x.isNumber();
        case Arg::Integer: return x.isInteger() || (x.isFloat() && std::trunc(x.asFloat()) == x.asFloat());
        case Arg::DateTime: return x.isDateTime() || x.isNumber();
        case Arg::Boolean: return x.isBool();
        default: return true;
    }
}

}  // namespace

void Call::expect(std::initializer_list<Arg> kinds, size_t optional) const {
    expect(std::vector<Arg>(kinds), optional);
}

void Call::expect(const std::vector<Arg>& kinds, size_t optional) const {
    const size_t max = kinds.size();
    const size_t min = max - std::min(optional, max);
    if (args_.size() < min || args_.size() > max) {
        const std::string want = min == max ? std::to_string(max) : "de " + std::to_string(min) + " a " + std::to_string(max);
        throw core::Error("Método " + method_ + ": esperados " + want + " argumentos, recebidos " +
                          std::to_string(args_.size()) + ".");
    }
    size_t i = 0;
    for (Arg a : kinds) {
        if (i >= args_.size()) break;
        if (!fits(a, args_[i]))
            throw core::Error("Método " + method_ + ": o argumento " + std::to_string(i + 1) + " deve ser " +
                              argName(a) + ".");
        ++i;
    }
}

const core::Variant& Call::arg(size_t i) const {
    static const core::Variant none;
    return i < args_.size() ? args_[i] : none;
}

std::string Call::text(size_t i) const { return arg(i).value.asString(); }
double Call::number(size_t i) const { return arg(i).value.asFloat(); }
int64_t Call::integer(size_t i) const { return arg(i).value.asInteger(); }
bool Call::boolean(size_t i) const { return arg(i).value.asBool(); }
core::DateTime Call::dateTime(size_t i) const {
    const auto& v = arg(i).value;
    return v.isNumber() ? core::DateTime(v.asFloat()) : v.asDateTime();
}

const core::Packet& Call::packet(size_t i) const {
    const auto& v = arg(i);
    if (!v.packet)  // arguments arrive decoded, never in the wire form
        throw core::Error("Método " + method_ + ": o argumento " + std::to_string(i + 1) +
                          " deve ser pacote de dados.");
    return *v.packet;
}

const LoginSession& Call::login() const {
    // Only methods registered without a session run with none, and they never ask.
    if (!login_) throw core::Error("Método " + method_ + ": chamada sem sessão.");
    return *login_;
}

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

const std::string& Call::sessionOperator(size_t i) const {
    const std::string& own = login().operador;
    const std::string claimed = trimmed(text(i));
    if (!claimed.empty() && claimed != trimmed(own))
        throw core::Error("Operador " + claimed + " não é o operador desta sessão (" + trimmed(own) + ").");
    return own;
}

void MethodTable::add(const std::string& module, const std::string& name, Method method, bool readOnly) {
    std::unique_lock lock(mutex_);
    entries_[{module, name}] = Entry{std::move(method), readOnly, true};
}

void MethodTable::addStreamed(const std::string& module, const std::string& name, Method method) {
    std::unique_lock lock(mutex_);
    entries_[{module, name}] = Entry{std::move(method), true, true, true};
}

void MethodTable::addWithoutSession(const std::string& module, const std::string& name, Method method) {
    std::unique_lock lock(mutex_);
    entries_[{module, name}] = Entry{std::move(method), false, false};
}

const MethodTable::Entry* MethodTable::find(const std::string& module, const std::string& name) const {
    std::shared_lock lock(mutex_);
    auto it = entries_.find({module, name});
    return it == entries_.end() ? nullptr : &it->second;
}

bool MethodTable::hasModule(const std::string& module) const {
    std::shared_lock lock(mutex_);
    for (const auto& [key, e] : entries_)
        if (key.first == module) return true;
    return false;
}

}  // namespace appserver
