// Opens and plays a WAV file made of arbitrary bytes.
#include "engine/sound/WAVStream.h"
#include "fuzz/FuzzAudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Audio::TWAVStream wav;
    try {
        wav.Open(std::make_unique<ClassLib::TMemoryStream>(std::vector<uint8_t>(data, data + size)),
                 Audio::omRead, {});
        FuzzSupport::PlayAround(wav);
    } catch (const ClassLib::Exception&) {
    }
    return 0;
}
