#include "engine/sound/AudioStream.h"

#include "platform/classlib/MulDiv.h"

namespace Audio {

bool IsSupportedFormat(uint32_t rate, uint32_t bits, uint32_t channels) {
    return rate >= 1 && rate <= MaxSampleRate && (bits == 8 || bits == 16) &&
           (channels == 1 || channels == 2);
}

int SamplesToMilliseconds(int samples, int rate) {
    return Win32::MulDiv(samples, 1000, rate);
}

int MillisecondsToSamples(int milliseconds, int rate) {
    return Win32::MulDiv(milliseconds, rate, 1000);
}

void TAudioStream::SetFormat(uint32_t rate, uint32_t bits, uint32_t channels) {
    FSampleRate = rate;
    FBitsPerSample = bits;
    FChannels = channels;
    FFrameBytes = channels * bits / 8;
}

void TAudioStream::RaisePastEnd() {
    throw EAudioStreamError("Reading past end of stream.");
}

} // namespace Audio
