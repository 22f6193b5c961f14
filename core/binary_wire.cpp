#include "core/binary_wire.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/error.h"

namespace core {

namespace {

uint8_t typeCode(FieldType t) { return static_cast<uint8_t>(t); }

// Text that is not UTF-8 with each stray byte as U+FFFD, as the JSON writer sends it.
std::string replacedUtf8(std::string_view s) {
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        size_t n = 1;
        // The longest well-formed prefix of up to four bytes that is one character.
        for (size_t len = 1; len <= 4 && i + len <= s.size(); ++len) {
            size_t one = 0;
            if (utf8Valid(s.substr(i, len), one) && one == 1) {
                n = len;
                break;
            }
            n = 0;
        }
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

// The longest count: 64 bits, 7 a byte.
constexpr size_t kMaxCount = 10;

// A count as the wire writes it (7 bits a byte, the low ones first, the high bit
// set on all but the last) into `out`; answers how many bytes it took.
size_t putCount(char* out, uint64_t n) {
    size_t k = 0;
    for (; n >= 0x80; n >>= 7) out[k++] = static_cast<char>(n | 0x80);
    out[k++] = static_cast<char>(n);
    return k;
}

}  // namespace

void BinaryWriter::longCount(uint64_t n) {
    char b[kMaxCount];
    out_.append(b, putCount(b, n));
}

void BinaryWriter::counted(char* head, size_t used, std::string_view s) {
    size_t characters = 0;
    if (!utf8Valid(s, characters)) {
        const std::string replaced = replacedUtf8(s);
        out_.append(head, used + putCount(head + used, replaced.size()));
        out_.append(replaced);
        return;
    }
    out_.append(head, used + putCount(head + used, s.size()));
    out_.append(s.data(), s.size());
}

void BinaryWriter::text(std::string_view s) {
    char head[kMaxCount];
    counted(head, 0, s);
}

void BinaryWriter::taggedText(uint8_t tag, std::string_view s) {
    char head[1 + kMaxCount];
    head[0] = static_cast<char>(tag);
    counted(head, 1, s);
}

void BinaryWriter::taggedFixed(uint8_t tag, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    char b[9];
    b[0] = static_cast<char>(tag);
    for (int i = 0; i < 8; ++i) b[1 + i] = static_cast<char>(bits >> (8 * i));
    out_.append(b, 9);
}

void BinaryWriter::integer(int64_t n) {
    byte(tag::kInteger);
    // Zigzag: small negatives stay short.
    count((static_cast<uint64_t>(n) << 1) ^ static_cast<uint64_t>(n >> 63));
}

void BinaryWriter::real(double d) {
    // As in JSON: no NaN or infinity crosses the wire.
    if (!std::isfinite(d)) return byte(tag::kNull);
    taggedFixed(tag::kFloat, d);
}

void BinaryWriter::dateTime(double days) {
    taggedFixed(tag::kDateTime, days);
}

void BinaryWriter::value(const Value& v) {
    std::visit(
        [this](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                byte(tag::kNull);
            else if constexpr (std::is_same_v<T, std::string>)
                taggedText(tag::kText, x);
            else if constexpr (std::is_same_v<T, int64_t>)
                integer(x);
            else if constexpr (std::is_same_v<T, double>)
                real(x);
            else if constexpr (std::is_same_v<T, bool>)
                byte(x ? tag::kTrue : tag::kFalse);
            else if constexpr (std::is_same_v<T, DateTime>)
                dateTime(x.days);
            else {
                byte(tag::kBlob);  // any bytes: no text check
                count(x.bytes.size());
                raw(x.bytes);
            }
        },
        v.storage());
}

void BinaryWriter::row(const std::vector<Value>& values) {
    for (const auto& v : values) value(v);
}

void BinaryWriter::packetHead(const std::vector<FieldDef>& fields, uint64_t rows) {
    byte(tag::kPacket);
    fieldDefs(fields);
    count(rows);
}

void BinaryWriter::fieldDefs(const std::vector<FieldDef>& fields) {
    count(fields.size());
    for (const auto& f : fields) {
        text(f.name);
        // The type, the size and the flags in one append: every packet writes its head.
        char tail[2 + kMaxCount];
        tail[0] = static_cast<char>(typeCode(f.type));
        size_t n = 1 + putCount(tail + 1, static_cast<uint64_t>(f.size));
        tail[n++] = static_cast<char>((f.inKey ? 1 : 0) | (f.required ? 2 : 0));
        out_.append(tail, n);
    }
}

void BinaryWriter::packet(const Packet& p) {
    packetHead(p.fields, p.rows.size());
    // A few bytes a value on average: growing by doubling would copy a long list many times.
    out_.reserve(out_.size() + p.rows.size() * p.fields.size() * 6);
    for (const auto& r : p.rows) row(r);
    count(p.delta.size());
    for (const auto& c : p.delta) {
        byte(static_cast<uint8_t>(c.kind));
        if (c.kind != ChangeKind::Insert) row(c.oldValues);
        if (c.kind != ChangeKind::Delete) row(c.newValues);
    }
}

void BinaryReader::incomplete() {
    ranOut_ = true;
    badPacket("pacote incompleto");
}

uint8_t BinaryReader::byte() {
    if (p_ == end_) incomplete();
    return static_cast<uint8_t>(*p_++);
}

uint64_t BinaryReader::count() {
    uint64_t n = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const uint8_t b = byte();
        n |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) {
            if (shift == 63 && b > 1) break;
            return n;
        }
    }
    badPacket("número mal formado");
}

std::string_view BinaryReader::bytes(uint64_t n) {
    if (n > left()) incomplete();
    std::string_view s(p_, static_cast<size_t>(n));
    p_ += n;
    return s;
}

std::string_view BinaryReader::utf8(size_t& characters) {
    const auto s = bytes(count());
    if (!utf8Valid(s, characters)) badPacket("texto que não é UTF-8");
    return s;
}

std::string BinaryReader::text() {
    size_t characters = 0;
    return std::string(utf8(characters));
}

double BinaryReader::fixed() {
    const auto b = bytes(8);
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(static_cast<unsigned char>(b[i])) << (8 * i);
    double d;
    std::memcpy(&d, &bits, 8);
    if (!std::isfinite(d)) badPacket("número inválido");
    return d;
}

Value BinaryReader::value(const FieldDef* field) {
    Value v;
    valueInto(v, field);
    return v;
}

void BinaryReader::valueInto(Value& v, const FieldDef* field) {
    const uint8_t t = byte();
    switch (t) {
        case tag::kNull:
            v = Value();
            return;
        case tag::kText: {
            size_t characters = 0;
            const auto s = utf8(characters);
            v.assignText(s);
            // The size check of checkedValue without its copy of the text.
            if (field && field->type == FieldType::String) {
                if (field->size > 0) checkTextSize(*field, characters);
                return;
            }
            break;
        }
        case tag::kInteger: {
            const uint64_t z = count();
            v = Value(static_cast<int64_t>((z >> 1) ^ (~(z & 1) + 1)));
            break;
        }
        case tag::kFloat:
            v = Value(fixed());
            break;
        case tag::kFalse:
            v = Value(false);
            break;
        case tag::kTrue:
            v = Value(true);
            break;
        case tag::kDateTime: {
            const double d = fixed();
            checkDayCount(d);
            v = Value(DateTime(d));
            break;
        }
        case tag::kBlob:
            v = Value(Blob{std::string(bytes(count()))});
            break;
        default:
            badPacket("valor de tipo desconhecido");
    }
    if (!field || v.holds(field->type)) return;
    v = checkedValue(*field, v);
}

std::vector<Value> BinaryReader::row(const std::vector<FieldDef>& fields) {
    std::vector<Value> r(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) valueInto(r[i], &fields[i]);
    return r;
}

Packet BinaryReader::packet() {
    if (byte() != tag::kPacket) badPacket("esperado um pacote");
    Packet p;
    p.fields = fieldDefs();
    // Each row takes a byte per field at least: a count beyond what is left is a lie.
    const uint64_t rows = count();
    if (rows > left()) incomplete();
    if (!p.fields.empty()) p.rows.reserve(static_cast<size_t>(rows));
    for (uint64_t i = 0; i < rows; ++i) p.rows.push_back(row(p.fields));
    const uint64_t changes = count();
    if (changes > left()) incomplete();
    for (uint64_t i = 0; i < changes; ++i) {
        Change c;
        const uint8_t kind = byte();
        if (kind > static_cast<uint8_t>(ChangeKind::Delete)) badPacket("tipo de alteração desconhecido");
        c.kind = static_cast<ChangeKind>(kind);
        if (c.kind != ChangeKind::Insert) c.oldValues = row(p.fields);
        if (c.kind != ChangeKind::Delete) c.newValues = row(p.fields);
        p.delta.push_back(std::move(c));
    }
    return p;
}

std::vector<FieldDef> BinaryReader::fieldDefs() {
    std::vector<FieldDef> out;
    const uint64_t fields = count();
    if (fields > left()) incomplete();
    out.reserve(static_cast<size_t>(fields));
    std::vector<std::string> names;  // upper case: names match case-insensitively
    for (uint64_t i = 0; i < fields; ++i) {
        FieldDef f;
        f.name = text();
        if (f.name.empty()) badPacket("campo sem nome");
        const uint8_t type = byte();
        if (type > typeCode(FieldType::Blob)) badPacket("tipo de campo desconhecido");
        f.type = static_cast<FieldType>(type);
        const uint64_t size = count();
        if (size > 1 << 24) badPacket("tamanho de campo inválido");
        f.size = static_cast<int>(size);
        const uint8_t flags = byte();
        if (flags > 3) badPacket("indicadores de campo inválidos");
        f.inKey = flags & 1;
        f.required = flags & 2;
        std::string upper = utf8Upper(f.name);
        if (std::find(names.begin(), names.end(), upper) != names.end()) badPacket("campo repetido " + f.name);
        names.push_back(std::move(upper));
        out.push_back(std::move(f));
    }
    return out;
}

std::string encodeBinaryPacket(const Packet& p) {
    std::string out;
    BinaryWriter(out).packet(p);
    return out;
}

std::string binaryPacket(const std::vector<FieldDef>& fields, uint64_t rowCount, std::string_view rows) {
    std::string out;
    // The head is the fields' names and a few bytes each: one allocation for it all.
    size_t head = 16;
    for (const auto& f : fields) head += f.name.size() + 8;
    out.reserve(head + rows.size());
    BinaryWriter w(out);
    w.packetHead(fields, rowCount);
    out.append(rows);
    w.count(0);
    return out;
}

Packet decodeBinaryPacket(std::string_view bytes) {
    BinaryReader in(bytes);
    Packet p = in.packet();
    if (!in.atEnd()) badPacket("bytes além do fim do pacote");
    return p;
}

}  // namespace core
