#include "appserver/demo/demo_rows.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <mutex>
#include <stdexcept>

#include <sodium.h>

#include "core/datetime.h"

namespace appserver::demo {

Row& Row::s(const std::string& column, const std::string& value) {
    values_.emplace_back(column, value);
    return *this;
}

Row& Row::s(const std::string& column, const std::optional<std::string>& value) {
    if (value) return s(column, *value);
    return null(column);
}

Row& Row::d(const std::string& column, double value) {
    values_.emplace_back(column, value);
    return *this;
}

Row& Row::d(const std::string& column, const std::optional<double>& value) {
    if (value) return d(column, *value);
    return null(column);
}

Row& Row::i(const std::string& column, int value) {
    values_.emplace_back(column, value);
    return *this;
}

Row& Row::null(const std::string& column) {
    values_.emplace_back(column, std::monostate{});
    return *this;
}

void Row::insert() {
    std::string columns;
    std::string marks;
    // Stable storage for the bound values and their null indicators.
    std::deque<std::string> texts;
    std::deque<double> numbers;
    std::deque<int> integers;
    std::deque<soci::indicator> nulls;
    soci::statement st(db_);
    int n = 0;
    for (const auto& [column, value] : values_) {
        if (!columns.empty()) {
            columns += ", ";
            marks += ", ";
        }
        columns += column;
        marks += ":p" + std::to_string(n++);
        if (std::holds_alternative<std::string>(value)) {
            st.exchange(soci::use(texts.emplace_back(std::get<std::string>(value))));
        } else if (std::holds_alternative<double>(value)) {
            st.exchange(soci::use(numbers.emplace_back(std::get<double>(value))));
        } else if (std::holds_alternative<int>(value)) {
            st.exchange(soci::use(integers.emplace_back(std::get<int>(value))));
        } else {
            // The type of a null bind is irrelevant; text converts to any column.
            st.exchange(soci::use(texts.emplace_back(), nulls.emplace_back(soci::i_null)));
        }
    }
    st.alloc();
    st.prepare("INSERT INTO " + table_ + " (" + columns + ") VALUES (" + marks + ")");
    st.define_and_bind();
    st.execute(true);
}

double today() {
    static const double day = core::DateTime::now().datePart().days;
    return day;
}

double dayAt(int days, int hour, int minute) {
    return today() + days + (hour * 60 + minute) / 1440.0;
}

std::string dateText(double days) {
    const auto c = core::DateTime(days).civil();
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", c.day, c.month, c.year);
    return text;
}

std::string passwordHash(const std::string& password) {
    static std::mutex mutex;
    static std::map<std::string, std::string> hashes;
    std::lock_guard lock(mutex);
    if (auto it = hashes.find(password); it != hashes.end()) return it->second;
    if (sodium_init() < 0) throw std::runtime_error("libsodium não pôde ser iniciada");
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.c_str(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        throw std::runtime_error("memória insuficiente para gerar o hash da senha");
    }
    return hashes[password] = hash;
}

std::string padded(long long number, int width) {
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

}  // namespace appserver::demo
