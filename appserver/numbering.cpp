#include "appserver/numbering.h"

#include <algorithm>

#include "appserver/dialect/dialect.h"
#include "appserver/sql.h"
#include "core/error.h"

namespace appserver {

long long nextNumber(soci::session& db, const std::string& branch, const std::string& sequence,
                     const std::function<long long()>& startAfter) {
    const auto exists = queryValue(db, "SELECT COUNT(*) FROM NUMERADOR WHERE CDFILIAL = :f AND NMSEQUENCIA = :s",
                                   {branch, sequence}, core::FieldType::Integer);
    if (exists.asInteger() == 0) {
        const long long start = startAfter ? std::max(0LL, startAfter()) : 0;
        // Both SQLite (3.24+) and PostgreSQL take this upsert; a concurrent first use
        // simply finds the row the other call created.
        execute(db,
                "INSERT INTO NUMERADOR (CDFILIAL, NMSEQUENCIA, NRULTIMO) VALUES (:f, :s, :n) "
                "ON CONFLICT (CDFILIAL, NMSEQUENCIA) DO NOTHING",
                {branch, sequence, static_cast<int64_t>(start)});
    }
    // The row lock taken here holds until the call's transaction ends.
    if (execute(db, "UPDATE NUMERADOR SET NRULTIMO = NRULTIMO + 1 WHERE CDFILIAL = :f AND NMSEQUENCIA = :s",
                {branch, sequence}) != 1)
        throw core::Error("Numerador " + sequence + " da filial " + branch + " não encontrado.");
    const auto v = queryValue(db, "SELECT NRULTIMO FROM NUMERADOR WHERE CDFILIAL = :f AND NMSEQUENCIA = :s",
                              {branch, sequence}, core::FieldType::Integer);
    return v.asInteger();
}

std::string zeroPadded(long long number, int width) {
    auto s = std::to_string(number);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
    return s;
}

std::string nextRequestNumber(soci::session& db, const Dialect& dialect, const std::string& branch) {
    const auto highest = [&] { return dialect.highestNumber(db, "AUDITORIA", "NRAUDITORIA", {{"CDFILIAL", branch}}); };
    return zeroPadded(nextNumber(db, branch, "AUDITORIA", highest), 10);
}

}  // namespace appserver
