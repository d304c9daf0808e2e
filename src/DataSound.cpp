#include "src/DataSound.h"

#include "engine/core/Archive.h"
#include "engine/sound/AudioList.h"
#include "engine/sound/WAVStream.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"

#include <cstring>
#include <memory>

using ClassLib::AnsiString;

namespace {

// A file's first four bytes, or nothing for a shorter file.
AnsiString Signature(ClassLib::TStream& file) {
    char signature[4] = {};
    if (file.Remaining() < 4)
        return {};
    file.ReadBuffer(signature, 4);
    file.SetPosition(0);
    return AnsiString(signature, 4);
}

// Each sound reads through a file handle of its own, so it plays on after the
// archive and the library are gone.
void Start(DSFrame::TDSFramework& sound, Audio::TAudioStreamPtr stream) {
    sound.Play(std::move(stream), 0, 100, false, false);
}

} // namespace

AnsiString StartFirstDataSound(DSFrame::TDSFramework& sound) {
    const AnsiString packed = Data::DataPath + "sounds.dat";
    if (!ClassLib::FileExists(packed) && !ClassLib::DirectoryExists(Data::DataPath + "sounds"))
        return {};
    const Data::TArchive archive("sounds", Data::arAutomatic);
    for (int i = 0; i < archive.Count(); ++i) {
        const AnsiString name = archive.GetFileName(i);
        try {
            auto file = archive.OpenFile(name);
            const AnsiString signature = Signature(*file);
            if (signature == "AUDL") {
                Audio::TAudioList list;
                list.LoadFromStream(std::move(file), false);
                if (list.Directory().Count() == 0)
                    continue;
                const uint32_t id = list.Directory()[0].ID;
                Start(sound, list.GetStream(id));
                return ClassLib::Format("%s, sound %u", name, id);
            }
            if (signature == "RIFF") {
                auto wave = std::make_unique<Audio::TWAVStream>();
                wave->Open(std::move(file), Audio::omRead, {});
                Start(sound, Audio::TAudioStreamPtr(wave.release()));
                return name;
            }
        } catch (const ClassLib::Exception& e) {
            throw ClassLib::Exception(ClassLib::Format("%s: %s", name, e.Message));
        }
    }
    return {};
}
