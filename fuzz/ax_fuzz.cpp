// Opens and plays an AX sound made of arbitrary bytes, streamed, whole and
// without its seek table.
#include "engine/sound/AXStream.h"
#include "fuzz/FuzzAudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const uint32_t mode : {Audio::omRead, Audio::omRead | Audio::omWholeData,
                                Audio::omRead | Audio::omNoSeekTable}) {
        Audio::TAXStream ax;
        try {
            ax.Open(
                std::make_unique<ClassLib::TMemoryStream>(std::vector<uint8_t>(data, data + size)),
                mode, {});
            FuzzSupport::PlayAround(ax);
        } catch (const ClassLib::Exception&) {
        }
    }
    return 0;
}
