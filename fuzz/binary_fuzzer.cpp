// Feeds arbitrary bytes to the binary decoders: of the answer (what the client reads
// on every call) and of the call (what the server reads). Anything not refused with
// core::Error must encode and decode again to the same thing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/error.h"
#include "core/variant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
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
