// Cuts arbitrary bytes into network play frames as a receiving peer does, and
// decodes them as a search datagram: only EWireError may come out, and every
// accepted frame re-encodes to exactly the bytes it was read from.
#include "platform/net/DirectPlayWire.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Win32::DPWire;

namespace {

void ExpectSameBytes(const TFrame& frame, const uint8_t* bytes, size_t size) {
    const std::vector<uint8_t> encoded = Encode(frame);
    if (encoded.size() != size || !std::equal(encoded.begin(), encoded.end(), bytes))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        ExpectSameBytes(Decode(data, size), data, size);
    } catch (const EWireError&) {
    }

    // A stream arrives in pieces; the split point exercises partial frames.
    TFrameReader reader;
    size_t appended = 0;
    const auto drain = [&] {
        TFrame frame;
        while (true) {
            const size_t start = appended - reader.Pending();
            if (!reader.Next(frame))
                return;
            const size_t end = appended - reader.Pending();
            ExpectSameBytes(frame, data + start, end - start);
        }
    };
    const size_t split = size > 0 ? data[0] % (size + 1) : 0;
    try {
        reader.Append(data, split);
        appended = split;
        drain();
        reader.Append(data + split, size - split);
        appended = size;
        drain();
    } catch (const EWireError&) {
    }
    return 0;
}
