// Feeds arbitrary bytes to the packet decoder: anything it does not refuse with
// core::Error must decode, re-encode and decode again to the same packet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/error.h"
#include "core/packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    core::Packet p;
    try {
        p = core::decodePacket(text);
    } catch (const core::Error&) {
        return 0;
    }
    const core::Packet again = core::decodePacket(core::encodePacket(p));
    if (core::encodePacket(again) != core::encodePacket(p)) std::abort();
    return 0;
}
