// Loads a sound library made of arbitrary bytes and plays every sound in it.
#include "engine/sound/AudioList.h"
#include "fuzz/FuzzAudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const bool preload : {false, true}) {
        Audio::TAudioList list;
        try {
            list.LoadFromStream(
                std::make_unique<ClassLib::TMemoryStream>(std::vector<uint8_t>(data, data + size)),
                preload);
            for (const Audio::TAudioListEntry& entry : list.Directory()) {
                try {
                    if (auto stream = list.FindStream(entry.ID))
                        FuzzSupport::PlayAround(*stream);
                } catch (const ClassLib::Exception&) {
                }
            }
        } catch (const ClassLib::Exception&) {
        }
    }
    return 0;
}
