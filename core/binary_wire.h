#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/packet.h"

namespace core {

// The binary wire form of values and packets (appserver/README.md, "Binary form"):
// tagged values, lengths as variable-length integers, numbers in 8 little-endian
// bytes. Read without a document in between, straight into the packet's rows.
class BinaryWriter {
public:
    explicit BinaryWriter(std::string& out) : out_(out) {}
    void byte(uint8_t b) { out_.push_back(static_cast<char>(b)); }
    void raw(std::string_view bytes) { out_.append(bytes); }  // already in this form
    void count(uint64_t n) {
        if (n < 0x80) return byte(static_cast<uint8_t>(n));  // most counts: one byte
        longCount(n);
    }
    void text(std::string_view s);
    // A tag and a text after it, in one append: what every text cell of a list is.
    void taggedText(uint8_t tag, std::string_view s);
    void value(const Value& v);
    // value() of an integer, a real or a date-time, for a writer that holds no Value.
    void integer(int64_t n);
    void real(double d);
    void dateTime(double days);
    void packet(const Packet& p);
    // A packet's tag, fields and row count: `rows` rows of values follow, then the changes.
    void packetHead(const std::vector<FieldDef>& fields, uint64_t rows);
    void fieldDefs(const std::vector<FieldDef>& fields);  // their count, then each one

private:
    void longCount(uint64_t n);
    // `head`'s first `used` bytes, the text's length and the text (made UTF-8), in two
    // appends; `head` has room for the length after them.
    void counted(char* head, size_t used, std::string_view s);
    void row(const std::vector<Value>& values);
    void taggedFixed(uint8_t tag, double d);  // the tag and the 8 bytes, in one append
    std::string& out_;
};

// Reads what BinaryWriter wrote. Every length is checked against what is left, every
// text is checked to be UTF-8 and every row value against its field, as the JSON
// decoder does; anything else throws core::Error, never reads past the end.
class BinaryReader {
public:
    explicit BinaryReader(std::string_view in) : p_(in.data()), end_(in.data() + in.size()) {}
    uint8_t byte();
    uint64_t count();
    std::string text();
    // A value as it travels; `field`, when given, is what a row value must fit.
    Value value(const FieldDef* field = nullptr);
    // The same into `v`, which a row already holds: a cell is built once, in its place.
    void valueInto(Value& v, const FieldDef* field = nullptr);
    Packet packet();
    std::vector<FieldDef> fieldDefs();
    std::vector<Value> row(const std::vector<FieldDef>& fields);
    // Whether the last refusal was for running out of bytes: a streamed answer then
    // waits for more instead of failing.
    bool ranOut() const { return ranOut_; }
    bool atEnd() const { return p_ == end_; }
    uint8_t peek() const { return p_ == end_ ? 0xFF : static_cast<uint8_t>(*p_); }
    size_t left() const { return static_cast<size_t>(end_ - p_); }

private:
    [[noreturn]] void incomplete();
    double fixed();
    std::string_view bytes(uint64_t n);
    std::string_view utf8(size_t& characters);  // a counted text, checked to be UTF-8
    const char* p_;
    const char* end_;
    bool ranOut_ = false;
};

// Tags of the binary form.
namespace tag {
inline constexpr uint8_t kNull = 0, kText = 1, kInteger = 2, kFloat = 3, kFalse = 4, kTrue = 5, kDateTime = 6,
                         kBlob = 7, kPacket = 8;
}

std::string encodeBinaryPacket(const Packet& p);
// A packet of `fields` whose `rowCount` rows were written apart, with no changes.
std::string binaryPacket(const std::vector<FieldDef>& fields, uint64_t rowCount, std::string_view rows);
Packet decodeBinaryPacket(std::string_view bytes);  // core::Error on anything malformed or left over

}  // namespace core
