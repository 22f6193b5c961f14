#include "platform/query.h"

#include <soci/soci.h>

#include <atomic>
#include <cctype>
#include <ctime>
#include <deque>
#include <set>

#include "core/error.h"
#include "platform/host.h"
#include "platform/read_only.h"

// The linked backends' factories (their headers pull in the client libraries' own headers).
extern "C" {
soci::backend_factory const* factory_sqlite3();
soci::backend_factory const* factory_postgresql();
}

namespace platform {

namespace {

// Bumped by resetQueryDatabase: each thread reopens its session on next use.
std::atomic<int> generation{0};

struct CachedSession {
    std::string key;
    int generation = -1;
    std::unique_ptr<soci::session> sql;
};

CachedSession& cached() {
    thread_local CachedSession c;
    return c;
}

void dropSession() {
    auto& c = cached();
    c.sql.reset();
    c.key.clear();
}

soci::session& database() {
    const Session& s = session();
    const std::string key = s.dbBackend + "\n" + s.dbConnect;
    auto& c = cached();
    if (c.sql && c.key == key && c.generation == generation.load()) return *c.sql;
    dropSession();
    try {
        if (s.dbBackend == "sqlite3")
            c.sql = std::make_unique<soci::session>(*factory_sqlite3(), s.dbConnect);
        else if (s.dbBackend == "postgresql")
            c.sql = std::make_unique<soci::session>(*factory_postgresql(), s.dbConnect);
        else  // firebird, odbc, oracle: loaded on demand when installed
            c.sql = std::make_unique<soci::session>(s.dbBackend, s.dbConnect);
        prepareReadOnlyConnection(*c.sql, s.dbBackend);
    } catch (const std::exception& e) {
        throw core::Error("Não foi possível abrir o banco de dados (" + s.dbBackend + "): " + e.what());
    }
    c.key = key;
    c.generation = generation.load();
    return *c.sql;
}

// Names of the ":NAME" parameters of a statement, skipping quoted text and "::" casts.
std::vector<std::string> parameterNames(const std::string& sql) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    char quote = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        if (c != ':') continue;
        if (i + 1 < sql.size() && sql[i + 1] == ':') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_')) ++j;
        if (j > i + 1) {
            std::string name = sql.substr(i + 1, j - i - 1);
            if (seen.insert(name).second) names.push_back(name);
        }
        i = j - 1;
    }
    return names;
}

// PostgreSQL cannot type a parameter that has no context ("(:P_X IS NULL OR ...)").
// There a null parameter is written as the NULL keyword (it carries no data), and a
// non-null one tested with IS [NOT] NULL is cast to its value's type.
std::string postgresText(const std::string& sql, const std::map<std::string, core::Value>& params) {
    std::string out;
    char quote = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote) {
            if (c == quote) quote = 0;
            out += c;
            continue;
        }
        if (c == '\'' || c == '"') quote = c;
        if (c != ':' || quote) {
            out += c;
            continue;
        }
        if (i + 1 < sql.size() && sql[i + 1] == ':') {
            out += "::";
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_')) ++j;
        const std::string name = sql.substr(i + 1, j - i - 1);
        auto it = params.find(name);
        if (name.empty() || it == params.end()) {
            out += sql.substr(i, j - i);
        } else if (it->second.isNull()) {
            out += "NULL";
        } else {
            size_t k = j;
            while (k < sql.size() && std::isspace(static_cast<unsigned char>(sql[k]))) ++k;
            std::string next = core::utf8Upper(sql.substr(k, 2));
            if (next == "IS") {
                const auto& v = it->second;
                const char* type = v.isString() || v.isBlob()      ? "TEXT"
                                   : v.isFloat() || v.isDateTime() ? "DOUBLE PRECISION"
                                                                   : "BIGINT";
                out += std::string("CAST(:") + name + " AS " + type + ")";
            } else {
                out += sql.substr(i, j - i);
            }
        }
        i = j - 1;
    }
    return out;
}

// Storage for bound values: SOCI reads them by address while the statement runs.
struct Binder {
    std::deque<std::string> texts;
    std::deque<long long> integers;
    std::deque<double> floats;
    std::deque<soci::indicator> indicators;

    void bind(soci::statement& st, const std::string& name, const core::Value& v) {
        auto& ind = indicators.emplace_back(v.isNull() ? soci::i_null : soci::i_ok);
        if (v.isNull() || v.isString()) {
            st.exchange(soci::use(texts.emplace_back(v.asString()), ind, name));
        } else if (v.isBlob()) {
            st.exchange(soci::use(texts.emplace_back(std::get<core::Blob>(v.storage()).bytes), ind, name));
        } else if (v.isInteger()) {
            st.exchange(soci::use(integers.emplace_back(v.asInteger()), ind, name));
        } else if (v.isBool()) {
            st.exchange(soci::use(integers.emplace_back(v.asBool() ? 1 : 0), ind, name));
        } else if (v.isFloat()) {
            st.exchange(soci::use(floats.emplace_back(v.asFloat()), ind, name));
        } else {
            // Date-times are kept as the host's day count, as the server stores them.
            st.exchange(soci::use(floats.emplace_back(v.asFloat()), ind, name));
        }
    }
};

core::FieldType columnType(soci::data_type t) {
    switch (t) {
        case soci::dt_integer:
        case soci::dt_long_long:
        case soci::dt_unsigned_long_long:
            return core::FieldType::Integer;
        case soci::dt_double:
            return core::FieldType::Float;
        case soci::dt_date:
            return core::FieldType::DateTime;
        default:
            return core::FieldType::String;
    }
}

core::Value columnValue(const soci::row& r, size_t i) {
    if (r.get_indicator(i) == soci::i_null) return {};
    switch (r.get_properties(i).get_data_type()) {
        case soci::dt_integer:
            return core::Value(static_cast<int64_t>(r.get<int>(i)));
        case soci::dt_long_long:
            return core::Value(static_cast<int64_t>(r.get<long long>(i)));
        case soci::dt_unsigned_long_long:
            return core::Value(static_cast<int64_t>(r.get<unsigned long long>(i)));
        case soci::dt_double:
            return core::Value(r.get<double>(i));
        case soci::dt_date: {
            const std::tm t = r.get<std::tm>(i);
            return core::Value(
                core::DateTime::make(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec));
        }
        default:
            return core::Value(r.get<std::string>(i));
    }
}

std::string backendOf() { return session().dbBackend; }

}  // namespace

TADOIBQuery::TADOIBQuery(std::string name) : core::RecordSet(std::move(name)) {}

TADOIBQuery::~TADOIBQuery() = default;

core::Value& TADOIBQuery::ParamByName(const std::string& name) {
    return params_[name.size() > 1 && name[0] == ':' ? name.substr(1) : name];
}

void TADOIBQuery::clearParams() { params_.clear(); }

const std::string& TADOIBQuery::activeText() const {
    const std::string b = backendOf();
    const std::string* text = &SQL;
    if (b == "firebird")
        text = &SQL_IB;
    else if (b == "odbc")
        text = &SQL_MSSQL;
    else if (b == "oracle")
        text = &SQL_ORACLE;
    // A statement written once in standard SQL runs everywhere.
    return text->empty() ? SQL : *text;
}

namespace {

void prepareStatement(soci::statement& st, Binder& binder, const std::string& text,
                      const std::map<std::string, core::Value>& params) {
    for (const auto& name : parameterNames(text)) {
        auto it = params.find(name);
        if (it == params.end()) throw core::Error("Parâmetro sem valor na consulta: " + name + ".");
        binder.bind(st, name, it->second);
    }
}

[[noreturn]] void databaseFailure(const soci::soci_error& e) {
    // A lost connection must not be reused; the next query opens a fresh one.
    auto& c = cached();
    if (c.sql && !c.sql->is_connected()) dropSession();
    if (isWriteRefusal(e))
        throw core::Error("As consultas diretas só podem ler o banco de dados: " + e.get_error_message());
    throw core::Error(e.get_error_message());
}

}  // namespace

void TADOIBQuery::Open() {
    const std::string text = session().dbBackend == "postgresql" ? postgresText(activeText(), params_) : activeText();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) throw core::Error("Consulta sem texto SQL.");
    core::Packet packet;
    try {
        soci::session& sql = database();
        // Declared first so the statement is finished before the transaction ends.
        ReadOnlyTransaction transaction(sql, session().dbBackend);
        soci::row r;
        Binder binder;
        soci::statement st(sql);
        prepareStatement(st, binder, text, params_);
        st.exchange(soci::into(r));
        st.alloc();
        st.prepare(text);
        st.define_and_bind();
        bool got = st.execute(true);
        // Column definitions: a field declared before Open keeps its type and size.
        std::vector<bool> declared;
        for (std::size_t i = 0; i < r.size(); ++i) {
            const auto& props = r.get_properties(i);
            const core::Field* f = findField(props.get_name());
            if (f && !f->calculated) {
                packet.fields.push_back(f->def);
                declared.push_back(true);
            } else {
                const std::string name = core::utf8Upper(props.get_name());
                auto type = columnType(props.get_data_type());
                // Dates are stored as day counts; the "DT" prefix of the name says which numbers are dates.
                if (name.rfind("DT", 0) == 0 && (type == core::FieldType::Float || type == core::FieldType::Integer))
                    type = core::FieldType::DateTime;
                packet.fields.push_back({name, type});
                declared.push_back(false);
            }
        }
        while (got) {
            std::vector<core::Value> row;
            row.reserve(r.size());
            for (std::size_t i = 0; i < r.size(); ++i) {
                core::Value v = columnValue(r, i);
                if (!v.isNull() && v.isNumber() && packet.fields[i].type == core::FieldType::DateTime) {
                    v = core::Value(core::DateTime(v.asFloat()));
                } else if (declared[i] && !v.isNull()) {
                    try {
                        v = v.convertedTo(packet.fields[i].type);
                    } catch (const core::Error&) {
                        throw core::Error("Valor inválido para o campo " + packet.fields[i].name + ".");
                    }
                }
                row.push_back(std::move(v));
            }
            packet.rows.push_back(std::move(row));
            got = st.fetch();
        }
    } catch (const soci::soci_error& e) {
        databaseFailure(e);
    }
    setData(packet);
}

void resetQueryDatabase() {
    ++generation;
    dropSession();
}

}  // namespace platform
