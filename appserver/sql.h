#pragma once
#include <soci/soci.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "appserver/thread_current.h"
#include "core/packet.h"
#include "core/variant.h"

namespace appserver {

// Values bound to a statement's placeholders (":name" or ":1"), in the order they
// appear. Date-times bind as their day count, booleans as 0/1, null as NULL.
class Params {
public:
    Params() = default;
    Params(std::initializer_list<core::Value> values);
    // A copy holds the values; what a statement bound stays with the original.
    Params(const Params& other) : values_(other.values_), count_(other.count_) {}
    Params& operator=(const Params& other);
    Params(Params&&) = default;
    Params& operator=(Params&&) = default;
    ~Params();
    Params& add(const core::Value& v);
    size_t size() const { return count_; }
    const std::vector<core::Value>& values() const { return values_; }
    // Hands the bound values to a statement under construction.
    void bindTo(soci::details::prepare_temp_type& st);

private:
    // What a SOCI statement binds by address; made only for one, since most queries
    // run through SQLite's own interface and need none of it.
    struct Bound {
        std::deque<std::string> texts;
        std::deque<long long> integers;
        std::deque<double> reals;
        std::deque<soci::indicator> indicators;
    };
    std::unique_ptr<Bound> bound_;
    std::vector<core::Value> values_;
    size_t count_ = 0;
};

// Runs a statement that returns no rows; answers the number of rows it touched.
long long execute(soci::session& db, const std::string& sql, Params params = {});

// Runs a statement without parameters or rows (BEGIN, COMMIT): on SQLite through the
// connection's kept statements, so a call's transaction is not parsed anew each time.
void run(soci::session& db, const std::string& sql);

// Runs a query and answers its rows, each column converted to `types[i]` (columns
// beyond `types` come as the database gives them).
std::vector<std::vector<core::Value>> queryRows(soci::session& db, const std::string& sql, Params params = {},
                                                const std::vector<core::FieldType>& types = {});

// Runs a query into a data packet whose fields are `fields`, column by column.
core::Packet queryPacket(soci::session& db, const std::vector<core::FieldDef>& fields, const std::string& sql,
                         Params params = {});

// Where a call whose answer may be streamed (core::kStreamContentType) writes it while
// its method runs. Nothing is written until a packet starts; the call's end (or
// failure) follows the rows.
class AnswerSink {
public:
    using Write = std::function<bool(std::string_view)>;  // false: the client is gone
    explicit AnswerSink(Write write) : write_(std::move(write)) {}
    AnswerSink(const AnswerSink&) = delete;
    AnswerSink& operator=(const AnswerSink&) = delete;
    // The calling thread's sink while it is installed (answerPacket finds it there).
    using Installed = ThreadCurrent<AnswerSink>;
    static AnswerSink* current() { return Installed::current(); }

    bool started() const { return started_; }
    uint64_t rows() const { return rows_; }
    // The packet's start, in the buffer it answers: its rows then go there too, each
    // after streamed::kRow and counted by row().
    std::string& start(const std::vector<core::FieldDef>& fields);
    void row() { ++rows_; }
    // Sends what is buffered once it is worth a write, or all of it.
    void flushIfFull();
    void flush();
    // What is buffered, then `bytes`.
    void write(std::string_view bytes);

private:
    void send(std::string_view bytes);
    Write write_;
    std::string buffer_;
    bool started_ = false;
    uint64_t rows_ = 0;
};

// queryPacket for a method's answer as it stands: on SQLite its rows go straight from
// the database into the binary wire form, never held as values in between; with an
// AnswerSink installed and not yet started, they go to it as they are read (the
// answer is then the null Variant).
core::Variant answerPacket(soci::session& db, const std::vector<core::FieldDef>& fields, const std::string& sql,
                           Params params = {});

// The first column of the first row, or null when there is none.
core::Value queryValue(soci::session& db, const std::string& sql, Params params = {},
                       core::FieldType type = core::FieldType::String);

// Field definitions in short: {"CDFILIAL", String, 4}.
core::FieldDef field(std::string name, core::FieldType type = core::FieldType::String, int size = 0,
                     bool inKey = false);

}  // namespace appserver
