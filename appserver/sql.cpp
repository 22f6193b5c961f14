#include "appserver/sql.h"

#include <soci/sqlite3/soci-sqlite3.h>

#include <charconv>
#include <ctime>
#include <memory>
#include <stdexcept>

#include "appserver/statement_cache.h"
#include "core/binary_wire.h"
#include "core/error.h"
#include "core/format.h"

namespace appserver {

Params::Params(std::initializer_list<core::Value> values) {
    values_.reserve(values.size());
    for (const auto& v : values) add(v);
}

Params& Params::operator=(const Params& other) {
    if (this == &other) return *this;
    values_ = other.values_;
    count_ = other.count_;
    bound_.reset();
    return *this;
}

Params::~Params() = default;

Params& Params::add(const core::Value& v) {
    values_.push_back(v);
    ++count_;
    return *this;
}

void Params::bindTo(soci::details::prepare_temp_type& st) {
    if (!bound_) bound_ = std::make_unique<Bound>();
    auto& b = *bound_;
    // deques keep their elements in place while growing, so each bound reference stays valid
    for (const auto& v : values_) {
        if (v.isNull()) {
            b.texts.emplace_back();
            b.indicators.push_back(soci::i_null);
            st, soci::use(b.texts.back(), b.indicators.back());
        } else if (v.isString()) {
            b.texts.push_back(v.asString());
            st, soci::use(b.texts.back());
        } else if (v.isBlob()) {
            b.texts.push_back(std::get<core::Blob>(v.storage()).bytes);
            st, soci::use(b.texts.back());
        } else if (v.isInteger() || v.isBool()) {
            b.integers.push_back(v.isBool() ? (v.asBool() ? 1 : 0) : v.asInteger());
            st, soci::use(b.integers.back());
        } else {  // double or date-time (its day count)
            b.reals.push_back(v.asFloat());
            st, soci::use(b.reals.back());
        }
    }
}

namespace {

core::Value rawValue(const soci::row& r, std::size_t i) {
    if (r.get_indicator(i) == soci::i_null) return {};
    switch (r.get_properties(i).get_data_type()) {
        case soci::dt_string:
        case soci::dt_xml:
        case soci::dt_blob: return core::Value(r.get<std::string>(i));
        case soci::dt_double: return core::Value(r.get<double>(i));
        case soci::dt_integer: return core::Value(static_cast<int64_t>(r.get<int>(i)));
        case soci::dt_long_long: return core::Value(static_cast<int64_t>(r.get<long long>(i)));
        case soci::dt_unsigned_long_long:
            return core::Value(static_cast<int64_t>(r.get<unsigned long long>(i)));
        case soci::dt_date: {
            std::tm t = r.get<std::tm>(i);
            auto d = core::DateTime::fromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                                               t.tm_sec);
            return d ? core::Value(*d) : core::Value();
        }
    }
    return {};
}

// The database's value in the type the caller asked for. Text that should be a
// number has the database's "." point; charconv reads and writes it whatever the
// process locale, and the number then converts as one held in a real column would.
core::Value typed(const core::Value& raw, core::FieldType type) {
    if (raw.isNull()) return raw;
    if (raw.isString() && type != core::FieldType::String && type != core::FieldType::Blob) {
        const auto& s = std::get<std::string>(raw.storage());
        if (type == core::FieldType::Boolean) return core::Value(s == "1" || s == "S" || s == "s" || s == "t" || s == "true");
        const auto d = core::parseCNumber(s);
        if (!d) return raw.convertedTo(type);
        return core::Value(*d).convertedTo(type);
    }
    if (type == core::FieldType::String && raw.isFloat()) {
        const double d = raw.asFloat();
        if (d == static_cast<double>(static_cast<long long>(d))) return core::Value(std::to_string(static_cast<long long>(d)));
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
        return core::Value(std::string(buf, res.ptr));
    }
    if (type == core::FieldType::String && raw.isInteger()) return core::Value(std::to_string(raw.asInteger()));
    return raw.convertedTo(type);
}

}  // namespace

long long execute(soci::session& db, const std::string& sql, Params params) {
    soci::details::prepare_temp_type pt = db.prepare << sql;
    params.bindTo(pt);
    soci::statement st(pt);
    st.execute(true);
    return st.get_affected_rows();
}

namespace {

namespace sq = sqlite_api;

// How a column reads, from its declared type as SOCI's SQLite backend decides it, so
// both paths give the same values; an expression without one reads as each cell holds.
enum class Kind { Text, Integer, Real, ByCell };

// Whether `declared` holds `word` (upper case), ignoring the case of ASCII letters as
// SQLite does for type names. Read for every column of every call: no copy of it.
bool declares(std::string_view declared, std::string_view word) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (size_t at = 0; at + word.size() <= declared.size(); ++at) {
        size_t i = 0;
        while (i < word.size() && upper(declared[at + i]) == word[i]) ++i;
        if (i == word.size()) return true;
    }
    return false;
}

Kind kindOf(const char* declared) {
    if (!declared) return Kind::ByCell;
    const std::string_view d(declared);
    if (declares(d, "INT")) return Kind::Integer;
    for (const char* real : {"REAL", "FLOA", "DOUB", "NUMERIC", "DECIMAL"})
        if (declares(d, real)) return Kind::Real;
    return Kind::Text;
}

// A cell is read through its own value: each sqlite3_column_* call finds the cell
// anew, three times for a text, in every cell of a long list. Such a value is only
// safe on the thread that steps the statement, which is the one that reads it.
std::string_view textOf(sq::sqlite3_value* cell) {
    // Read before its length (SQLite's rule); an empty binary reads as no text at all.
    const auto* text = reinterpret_cast<const char*>(sq::sqlite3_value_text(cell));
    if (!text) return {};
    return {text, static_cast<size_t>(sq::sqlite3_value_bytes(cell))};
}

// How a cell of a column of `kind` reads: a column with no declared type reads as the
// cell holds it.
Kind cellKind(int storage, Kind kind) {
    if (kind != Kind::ByCell) return kind;
    return storage == SQLITE_INTEGER ? Kind::Integer : storage == SQLITE_FLOAT ? Kind::Real : Kind::Text;
}

core::Value sqliteCell(sq::sqlite3_stmt* st, int i, Kind kind, const core::FieldType* want) {
    sq::sqlite3_value* cell = sq::sqlite3_column_value(st, i);
    const int storage = sq::sqlite3_value_type(cell);
    if (storage == SQLITE_NULL) return {};
    switch (cellKind(storage, kind)) {
        case Kind::Integer: {
            const auto n = static_cast<int64_t>(sq::sqlite3_value_int64(cell));
            if (!want || *want == core::FieldType::Integer) return core::Value(n);
            return typed(core::Value(n), *want);
        }
        case Kind::Real: {
            const double d = sq::sqlite3_value_double(cell);
            if (!want || *want == core::FieldType::Float) return core::Value(d);
            if (*want == core::FieldType::DateTime) return core::Value(core::DateTime(d));
            return typed(core::Value(d), *want);
        }
        default: {
            core::Value v(std::string(textOf(cell)));
            if (!want || *want == core::FieldType::String) return v;
            return typed(v, *want);
        }
    }
}

// A statement run through SQLite's own interface: SOCI's dynamic rows convert every
// cell through holders of their own, which doubled the time of a long list.
class SqliteQuery {
public:
    SqliteQuery(sq::sqlite3* h, const std::string& sql, const Params& params) : h_(h), sql_(sql) {
        if (auto* cache = StatementCache::current(); cache && cache->serves(h)) {
            cache_ = cache;
            kept_ = cache->take(sql);
            st_ = kept_.st;
        }
        if (!st_) {
            if (const int rc = sq::sqlite3_prepare_v2(h, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr);
                rc != SQLITE_OK)
                fail(rc, "preparing");
        }
        // As SOCI binds them: by position, texts and binaries as text, booleans as 0/1,
        // date-times as their day count.
        int position = 0;
        for (const auto& v : params.values()) {
            ++position;
            int rc = SQLITE_OK;
            if (v.isNull()) {
                rc = sq::sqlite3_bind_null(st_, position);
            } else if (v.isString() || v.isBlob()) {
                const std::string& text =
                    v.isString() ? std::get<std::string>(v.storage()) : std::get<core::Blob>(v.storage()).bytes;
                rc = sq::sqlite3_bind_text(st_, position, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
            } else if (v.isInteger() || v.isBool()) {
                rc = sq::sqlite3_bind_int64(st_, position, v.isBool() ? (v.asBool() ? 1 : 0) : v.asInteger());
            } else {
                rc = sq::sqlite3_bind_double(st_, position, v.asFloat());
            }
            if (rc != SQLITE_OK) {
                // No destructor runs for a constructor that throws: the statement goes here.
                auto e = error(rc, "binding");
                release();
                throw e;
            }
        }
    }
    SqliteQuery(const SqliteQuery&) = delete;
    SqliteQuery& operator=(const SqliteQuery&) = delete;
    ~SqliteQuery() { release(); }

    int columns() const { return static_cast<int>(kinds_.size()); }
    bool next() {
        const int rc = sq::sqlite3_step(st_);
        // Read after the first step: a kept statement is prepared again there when
        // another connection changed the schema, and may then have other columns.
        if (!stepped_) {
            stepped_ = true;
            readKinds();
        }
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) fail(rc, "executing");
        return false;
    }
    core::Value cell(int i, const core::FieldType* want) const {
        return sqliteCell(st_, i, static_cast<Kind>(kinds_[i]), want);
    }

    // The cell as a packet value of type `want`, written straight to the wire: the same
    // value cell() gives, without holding it.
    void writeCell(core::BinaryWriter& w, int i, core::FieldType want) const {
        // A cell already of its field's type goes from SQLite to the wire without a
        // value (or, for text, a string) of its own; the rest converts as cell() does.
        sq::sqlite3_value* cell = sq::sqlite3_column_value(st_, i);
        const int storage = sq::sqlite3_value_type(cell);
        if (storage == SQLITE_NULL) return w.byte(core::tag::kNull);
        switch (cellKind(storage, static_cast<Kind>(kinds_[i]))) {
            case Kind::Text:
                if (want != core::FieldType::String) break;
                return w.taggedText(core::tag::kText, textOf(cell));
            case Kind::Real:
                if (want == core::FieldType::Float) return w.real(sq::sqlite3_value_double(cell));
                if (want == core::FieldType::DateTime) return w.dateTime(sq::sqlite3_value_double(cell));
                break;
            case Kind::Integer:
                if (want == core::FieldType::Integer) return w.integer(sq::sqlite3_value_int64(cell));
                break;
            case Kind::ByCell:
                break;
        }
        w.value(this->cell(i, &want));
    }

private:
    soci::sqlite3_soci_error error(int rc, const char* doing) const {
        // The user reads the database's words; the statement goes to the log only.
        soci::sqlite3_soci_error e(sq::sqlite3_errmsg(h_), rc);
        e.add_context(std::string("while ") + doing + " \"" + sql_ + "\"");
        return e;
    }
    [[noreturn]] void fail(int rc, const char* doing) const { throw error(rc, doing); }
    // The statement back to its connection's cache, or finalized when there is none.
    void release() {
        if (cache_ && st_) {
            kept_.st = st_;
            kept_.columns = std::move(kinds_);
            cache_->giveBack(sql_, std::move(kept_));
        } else {
            sq::sqlite3_finalize(st_);
        }
        st_ = nullptr;
    }
    // The kinds the kept statement's last query read, unless SQLite prepared it again since.
    void readKinds() {
        const int prepared = sq::sqlite3_stmt_status(st_, SQLITE_STMTSTATUS_REPREPARE, 0);
        if (kept_.preparedAt == prepared && !kept_.columns.empty()) {
            kinds_ = std::move(kept_.columns);
        } else {
            const int columns = sq::sqlite3_column_count(st_);
            for (int i = 0; i < columns; ++i)
                kinds_.push_back(static_cast<unsigned char>(kindOf(sq::sqlite3_column_decltype(st_, i))));
        }
        kept_.preparedAt = prepared;
    }
    sq::sqlite3* h_;
    const std::string& sql_;
    sq::sqlite3_stmt* st_ = nullptr;
    StatementCache* cache_ = nullptr;
    StatementCache::Statement kept_;  // what the cache kept of the statement
    bool stepped_ = false;
    std::vector<unsigned char> kinds_;
};

std::vector<std::vector<core::Value>> sqliteRows(sq::sqlite3* h, const std::string& sql, const Params& params,
                                                 const std::vector<core::FieldType>& types) {
    SqliteQuery q(h, sql, params);
    std::vector<std::vector<core::Value>> rows;
    while (q.next()) {
        std::vector<core::Value> row;
        row.reserve(static_cast<size_t>(q.columns()));
        for (int i = 0; i < q.columns(); ++i)
            row.push_back(q.cell(i, static_cast<size_t>(i) < types.size() ? &types[i] : nullptr));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

void run(soci::session& db, const std::string& sql) {
    if (auto* h = sqliteHandle(db)) {
        SqliteQuery q(h, sql, {});
        while (q.next()) {
        }
        return;
    }
    db << sql;
}

std::vector<std::vector<core::Value>> queryRows(soci::session& db, const std::string& sql, Params params,
                                                const std::vector<core::FieldType>& types) {
    if (auto* h = sqliteHandle(db)) return sqliteRows(h, sql, params, types);
    soci::row r;
    soci::details::prepare_temp_type pt = db.prepare << sql;
    pt, soci::into(r);
    params.bindTo(pt);
    soci::statement st(pt);
    std::vector<std::vector<core::Value>> rows;
    st.execute(false);
    while (st.fetch()) {
        std::vector<core::Value> row;
        row.reserve(r.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            auto v = rawValue(r, i);
            row.push_back(i < types.size() ? typed(v, types[i]) : v);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

core::Packet queryPacket(soci::session& db, const std::vector<core::FieldDef>& fields, const std::string& sql,
                         Params params) {
    std::vector<core::FieldType> types;
    for (const auto& f : fields) types.push_back(f.type);
    core::Packet p;
    p.fields = fields;
    p.rows = queryRows(db, sql, std::move(params), types);
    for (auto& row : p.rows) row.resize(fields.size());
    return p;
}

namespace {
// A write per quarter megabyte: the client decodes one piece while the next is read.
constexpr size_t kSinkChunk = 256 * 1024;
}  // namespace

std::string& AnswerSink::start(const std::vector<core::FieldDef>& fields) {
    started_ = true;
    buffer_.reserve(kSinkChunk + 64 * 1024);
    core::BinaryWriter w(buffer_);
    w.byte(core::streamed::kStart);
    w.fieldDefs(fields);
    return buffer_;
}

void AnswerSink::flushIfFull() {
    if (buffer_.size() >= kSinkChunk) flush();
}

void AnswerSink::send(std::string_view bytes) {
    // Thrown, so the call's transaction ends at once instead of reading rows for nobody.
    if (!bytes.empty() && !write_(bytes)) throw std::runtime_error("o cliente desligou antes do fim da resposta");
}

void AnswerSink::flush() {
    send(buffer_);
    buffer_.clear();
}

void AnswerSink::write(std::string_view bytes) {
    flush();
    send(bytes);
}

core::Variant answerPacket(soci::session& db, const std::vector<core::FieldDef>& fields, const std::string& sql,
                           Params params) {
    auto* h = sqliteHandle(db);
    if (!h) return core::Variant(queryPacket(db, fields, sql, std::move(params)));
    SqliteQuery q(h, sql, params);
    // Columns beyond the fields are left out and missing ones are null, as queryPacket does.
    auto writeRow = [&](core::BinaryWriter& w) {
        for (size_t i = 0; i < fields.size(); ++i) {
            if (static_cast<int>(i) < q.columns())
                q.writeCell(w, static_cast<int>(i), fields[i].type);
            else
                w.byte(core::tag::kNull);
        }
    };
    if (AnswerSink* sink = AnswerSink::current(); sink && !sink->started()) {
        // Started only once the statement is ready: a query refused up to here is
        // still answered as a plain error.
        core::BinaryWriter w(sink->start(fields));
        while (q.next()) {
            w.byte(core::streamed::kRow);
            writeRow(w);
            sink->row();
            sink->flushIfFull();
        }
        return {};
    }
    // The rows after the header, counted as they come; the count goes in front.
    std::string rows;
    rows.reserve(256);  // a one-row answer's cells without growing
    core::BinaryWriter w(rows);
    uint64_t count = 0;
    while (q.next()) {
        writeRow(w);
        ++count;
    }
    return core::Variant::encodedPacket(core::binaryPacket(fields, count, rows));
}

core::Value queryValue(soci::session& db, const std::string& sql, Params params, core::FieldType type) {
    auto rows = queryRows(db, sql, std::move(params), {type});
    if (rows.empty() || rows[0].empty()) return {};
    return rows[0][0];
}

core::FieldDef field(std::string name, core::FieldType type, int size, bool inKey) {
    core::FieldDef f;
    f.name = std::move(name);
    f.type = type;
    f.size = size;
    f.inKey = inKey;
    return f;
}

}  // namespace appserver
