#pragma once
#include <soci/soci.h>

#include <functional>
#include <map>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

#include "appserver/catalog.h"
#include "appserver/database.h"
#include "appserver/dialect/dialect.h"
#include "appserver/sessions/login_session.h"
#include "core/variant.h"

namespace appserver {

// What a method checks its arguments against.
enum class Arg { Text, Number, Integer, DateTime, Boolean, Packet, Any };

// One call as a method sees it: its arguments, the call's database session (its
// transaction is already open and commits when the method returns normally), the
// login session it runs for, and the by-reference arguments it writes back.
class Call {
public:
    Call(std::string method, std::vector<core::Variant> args, soci::session& db, const Dialect& dialect,
         Catalog& catalog, const LoginSession* login = nullptr, int sessionIdleMinutes = 480)
        : method_(std::move(method)),
          args_(std::move(args)),
          db_(db),
          dialect_(dialect),
          catalog_(catalog),
          login_(login),
          sessionIdleMinutes_(sessionIdleMinutes) {}

    const std::string& method() const { return method_; }
    soci::session& db() { return db_; }
    const Dialect& dialect() const { return dialect_; }
    Catalog& catalog() { return catalog_; }
    size_t argCount() const { return args_.size(); }

    // The operator and branch of the call's login session.
    const LoginSession& login() const;
    // The session's operator, for an argument that names the operator at the screen:
    // whatever is recorded in the caller's name is recorded as the session's, and an
    // argument naming another operator is refused. An empty argument stands for the
    // session's operator.
    const std::string& sessionOperator(size_t i) const;
    // How long a session may stay unused (the server's option).
    int sessionIdleMinutes() const { return sessionIdleMinutes_; }

    // Refuses with "Método <Name>: esperados N argumentos, recebidos M." or a type
    // complaint naming the argument. `optional` trailing arguments may be left out.
    void expect(std::initializer_list<Arg> kinds, size_t optional = 0) const;
    void expect(const std::vector<Arg>& kinds, size_t optional = 0) const;

    // Arguments (0-based) in the type asked; a null reads as "", 0, false, zero date.
    const core::Variant& arg(size_t i) const;
    std::string text(size_t i) const;
    double number(size_t i) const;
    int64_t integer(size_t i) const;
    bool boolean(size_t i) const;
    core::DateTime dateTime(size_t i) const;
    const core::Packet& packet(size_t i) const;

    // Writes a by-reference argument back to the client (index 0-based, as in args).
    void setOut(int index, core::Variant value) { out_.emplace_back(index, std::move(value)); }
    const std::vector<std::pair<int, core::Variant>>& out() const { return out_; }

private:
    std::string method_;
    std::vector<core::Variant> args_;
    soci::session& db_;
    const Dialect& dialect_;
    Catalog& catalog_;
    const LoginSession* login_;
    int sessionIdleMinutes_;
    std::vector<std::pair<int, core::Variant>> out_;
};

// Codes arrive padded with spaces to their field's width: blank when nothing but
// spaces, trimmed without the spaces around.
bool blank(const std::string& s);
std::string trimmed(const std::string& s);

using Method = std::function<core::Variant(Call&)>;

// Methods by module and name ("rdmPedidoAna"/"GetParamMXA", "Host"/"Login").
// Names match exactly, as the client's late-bound calls spell them.
class MethodTable {
public:
    struct Entry {
        Method method;
        bool readOnly = false;     // takes no write lock on SQLite
        bool needsSession = true;  // only the login runs without one
        bool streams = false;      // its packet may go out while it is read (a long list)
    };
    void add(const std::string& module, const std::string& name, Method method, bool readOnly = false);
    // A read-only method answering a long list: a client that accepts it gets the rows
    // as they are read (core::kStreamContentType).
    void addStreamed(const std::string& module, const std::string& name, Method method);
    // A method anybody who reaches the server may call: the login, which opens the session.
    void addWithoutSession(const std::string& module, const std::string& name, Method method);
    const Entry* find(const std::string& module, const std::string& name) const;
    bool hasModule(const std::string& module) const;

private:
    mutable std::shared_mutex mutex_;
    std::map<std::pair<std::string, std::string>, Entry> entries_;
};

inline constexpr const char* kModule = "rdmPedidoAna";
inline constexpr const char* kHostModule = "Host";

// Every method of the server, subsystem by subsystem (appserver/methods/*.cpp).
void registerAllMethods(MethodTable& table);

}  // namespace appserver
