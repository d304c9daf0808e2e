#include "game/world/data/MainData.h"

#include "engine/core/TextReader.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/DataFiles.h"

namespace Data2 {

std::unique_ptr<TMainData> MainData;

void CreateMainData() {
    MainData = std::make_unique<TMainData>();
}

void FreeMainData() {
    MainData.reset();
}

Gfx::TSprite* ResolveSprite(Gfx::TSpriteList& library, uint32_t id) {
    if (id == 0)
        return nullptr;
    if (library.Flags & Gfx::slDirectory)
        return library.FindSpriteChecked(id);
    return library.Sprites().GetByID(id);
}

TMainData::TMainData()
    : Sprites{}, SpriteLibrary(17), IntroVideos{}, EndingVideos{}, InterludeVideos{} {
    Load();
}

TMainData::~TMainData() = default;

void TMainData::Load() {
    ClassLib::AnsiString spriteIDFile, libraryFile, videoFile;
    ReadDataFile(GlobalsArchive, "globals", "default.txt", [&](Data::TTextReader& text) {
        spriteIDFile = Data::ReadTokenString(text);
        libraryFile = Data::ReadTokenString(text);
        videoFile = Data::ReadTokenString(text);
    });

    const Data::TArchive& graphics = OpenedArchive(GraphicsArchive, "graphics");
    WithFileContext("graphics", libraryFile, [&] {
        SpriteLibrary.LoadFromArchive(graphics, libraryFile);
        SpriteLibrary.PreloadAll();
    });

    ReadDataFile(GlobalsArchive, "globals", spriteIDFile, [&](Data::TTextReader& text) {
        for (Gfx::TSprite*& sprite : Sprites)
            sprite = ResolveSprite(SpriteLibrary, static_cast<uint32_t>(Data::ReadTokenInt(text)));
    });

    // The main data load on the main thread, so the blended cursors get their surfaces now.
    for (const Gfx::TSpriteEntry& entry : SpriteLibrary.Directory())
        if (entry.Sprite && entry.Sprite->BlendMode() != 0)
            entry.Sprite->PrepareSurfaces(true);

    ReadDataFile(GlobalsArchive, "globals", videoFile, [&](Data::TTextReader& text) {
        for (char* name : IntroVideos)
            Data::ReadTokenBuffer(text, name, VideoNameSize);
        for (char* name : EndingVideos)
            Data::ReadTokenBuffer(text, name, VideoNameSize);
        for (char* name : InterludeVideos)
            Data::ReadTokenBuffer(text, name, VideoNameSize);
    });
}

} // namespace Data2
