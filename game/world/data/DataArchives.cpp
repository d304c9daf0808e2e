#include "game/world/data/DataArchives.h"

#include "engine/core/Base.h"
#include "platform/classlib/Files.h"

namespace Data2 {

std::unique_ptr<Data::TArchive> GlobalsArchive;
std::unique_ptr<Data::TArchive> GraphicsArchive;
std::unique_ptr<Data::TArchive> ScenarioArchive;
std::unique_ptr<Data::TArchive> SoundsArchive;
ClassLib::AnsiString SavePath;

void OpenDataArchives() {
    SavePath = Data::DataPath + "Save";
    Base::AddTrailingBackslash(SavePath);
    // Saving into a folder that is not there would fail only when the player saves.
    if (!ClassLib::DirectoryExists(SavePath) && !ClassLib::ForceDirectories(SavePath))
        throw ClassLib::EFCreateError(
            ClassLib::Format("Cannot create the folder of saved games \"%s\".", SavePath));
    GlobalsArchive = std::make_unique<Data::TArchive>("globals", Data::arAutomatic);
    GraphicsArchive = std::make_unique<Data::TArchive>("graphics", Data::arAutomatic);
    ScenarioArchive = std::make_unique<Data::TArchive>("scenario", Data::arAutomatic);
    SoundsArchive = std::make_unique<Data::TArchive>("sounds", Data::arAutomatic);
}

void CloseDataArchives() {
    GlobalsArchive.reset();
    GraphicsArchive.reset();
    ScenarioArchive.reset();
    SoundsArchive.reset();
}

} // namespace Data2
