#include "appserver/sql.h"

#include <charconv>
#include <ctime>

#include "core/error.h"
#include "core/format.h"

namespace appserver {

Params::Params(std::initializer_list<core::Value> values) {
    for (const auto& v : values) add(v);
}

Params& Params::add(const core::Value& v) {
    values_.push_back(v);
    ++count_;
    return *this;
}

void Params::bindTo(soci::details::prepare_temp_type& st) {
    // deques keep their elements in place while growing, so each bound reference stays valid
    for (const auto& v : values_) {
        if (v.isNull()) {
            texts_.emplace_back();
            indicators_.push_back(soci::i_null);
            st, soci::use(texts_.back(), indicators_.back());
        } else if (v.isString()) {
            texts_.push_back(v.asString());
            st, soci::use(texts_.back());
        } else if (v.isBlob()) {
            texts_.push_back(std::get<core::Blob>(v.storage()).bytes);
            st, soci::use(texts_.back());
        } else if (v.isInteger() || v.isBool()) {
            integers_.push_back(v.isBool() ? (v.asBool() ? 1 : 0) : v.asInteger());
            st, soci::use(integers_.back());
        } else {  // double or date-time (its day count)
            reals_.push_back(v.asFloat());
            st, soci::use(reals_.back());
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

std::vector<std::vector<core::Value>> queryRows(soci::session& db, const std::string& sql, Params params,
                                                const std::vector<core::FieldType>& types) {
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
