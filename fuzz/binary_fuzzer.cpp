// Feeds arbitrary bytes to the binary decoders: of the answer (what the client reads
// on every call), of the streamed answer (read as it arrives, here cut in two at a
// point the bytes choose: it must read the same as when it comes whole) and of the
// call (what the server reads). Anything not refused with core::Error must encode
// and decode again to the same thing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "core/error.h"
#include "core/variant.h"

namespace {

// The answer read as a stream in pieces of `piece` bytes; the error when refused.
std::pair<core::CallAnswer, std::string> streamed(const std::string& bytes, size_t piece) {
    core::AnswerStream s;
    try {
        for (size_t at = 0; at < bytes.size(); at += piece) s.feed(std::string_view(bytes).substr(at, piece));
        return {s.finish(), {}};
    } catch (const core::Error& e) {
        return {{}, e.what()};
    }
}

void checkStreamed(const std::string& bytes) {
    const size_t piece = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes.back()) % 17;
    const auto [whole, wholeError] = streamed(bytes, bytes.size() + 1);
    const auto [cut, cutError] = streamed(bytes, piece);
    if (wholeError != cutError || whole.result.error != cut.result.error || whole.result.value != cut.result.value ||
        whole.out.size() != cut.out.size() || whole.result.isPacket() != cut.result.isPacket())
        std::abort();
    if (whole.result.isPacket() && !(*whole.result.packet == *cut.result.packet)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkStreamed(bytes);
    try {
        const auto args = core::decodeCall(bytes, core::Wire::Binary);
        const auto again = core::decodeCall(core::encodeCall(args, core::Wire::Binary), core::Wire::Binary);
        if (again.size() != args.size()) std::abort();
        for (size_t i = 0; i < args.size(); ++i)
            if (again[i].value != args[i].value || again[i].isPacket() != args[i].isPacket() ||
                (args[i].isPacket() && !(*again[i].packet == *args[i].packet)))
                std::abort();
    } catch (const core::Error&) {
    }
    core::CallAnswer a;
    try {
        a = core::decodeAnswer(bytes, core::Wire::Binary);
    } catch (const core::Error&) {
        return 0;
    }
    const std::string again = a.result.isError() ? core::encodeError(a.result.error, core::Wire::Binary)
                                                 : core::encodeResult(a.result, a.out, core::Wire::Binary);
    const core::CallAnswer b = core::decodeAnswer(again, core::Wire::Binary);
    if (b.result.error != a.result.error || b.result.value != a.result.value || b.out.size() != a.out.size())
        std::abort();
    if (a.result.isPacket() && !(*b.result.packet == *a.result.packet)) std::abort();
    // The same answer must also be expressible as JSON for curl.
    if (!a.result.isError()) (void)core::decodeAnswer(core::encodeResult(a.result, a.out));
    return 0;
}
