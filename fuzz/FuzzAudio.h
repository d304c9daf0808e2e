// Exercises an opened sound the way the sound framework does: reads in pieces,
// seeks, and shares state, all within bounds so a run stays short.
#pragma once

#include "engine/sound/AudioStream.h"

#include <algorithm>
#include <vector>

namespace FuzzSupport {

inline void PlayAround(Audio::TAudioStream& stream) {
    std::vector<uint8_t> buffer(4096 * 4);
    const uint32_t frameBytes = std::max<uint32_t>(stream.FrameBytes(), 1);
    const uint32_t piece = static_cast<uint32_t>(buffer.size()) / frameBytes;
    const uint32_t length = std::min<uint32_t>(stream.Length(), 1 << 14);
    for (uint32_t done = 0; done < length;) {
        const uint32_t got = stream.Read(buffer.data(), std::min(piece, length - done));
        if (got == 0)
            break; // fewer frames than asked: the end of the data
        done += got;
    }
    Audio::TAudioStreamState state;
    for (const uint32_t frame : {stream.Length() / 2, 1u, stream.Length(), 0u}) {
        if (frame > stream.Length())
            continue;
        stream.Seek(frame);
        stream.SaveState(state);
        const uint32_t n = std::min(piece, std::min(stream.Length() - frame, 300u));
        stream.Read(buffer.data(), n);
        stream.RestoreState(state);
    }
}

} // namespace FuzzSupport
