#include "src/IntroVideos.h"

#include "engine/core/Archive.h"
#include "game/world/data/MainData.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "ui/frontend/VideoPlayer.h"

namespace Main {

void PlayIntroVideos() {
    if (!Data2::MainData)
        return;
    for (const char* name : Data2::MainData->IntroVideos) {
        ClassLib::AnsiString file;
        if (name[0] == 0 ||
            !ClassLib::FindPathIgnoringCase(Data::DataPath + "Video/" + name, file) ||
            !ClassLib::FileExists(file))
            continue;
        try {
            FrontEnd::PlayVideo(file);
        } catch (const ClassLib::Exception&) {
            // An intro that cannot be played is not worth ending the game for.
        }
    }
}

} // namespace Main
