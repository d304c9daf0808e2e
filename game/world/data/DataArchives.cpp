#include "game/world/data/DataArchives.h"

#include "engine/core/Base.h"
#include "engine/core/InvalidData.h"
#include "platform/classlib/Files.h"

namespace Data2 {

std::unique_ptr<Data::TArchive> GlobalsArchive;
std::unique_ptr<Data::TArchive> GraphicsArchive;
std::unique_ptr<Data::TArchive> ScenarioArchive;
std::unique_ptr<Data::TArchive> SoundsArchive;
ClassLib::AnsiString SavePath;

namespace {

// A damaged archive is named in the error; a missing one names itself already.
std::unique_ptr<Data::TArchive> OpenArchive(const char* name) {
    try {
        return std::make_unique<Data::TArchive>(name, Data::arAutomatic);
    } catch (const ClassLib::EReadError& error) {
        throw ClassLib::EReadError(ClassLib::Format("Archive '%s': %s", name, error.Message));
    } catch (const Data::EInvalidData& error) {
        throw Data::EInvalidData(ClassLib::Format("Archive '%s': %s", name, error.Message));
    }
}

} // namespace

void OpenDataArchives() {
    SavePath = Data::DataPath + "Save";
    Base::AddTrailingBackslash(SavePath);
    // Saving into a folder that is not there would fail only when the player saves.
    if (!ClassLib::DirectoryExists(SavePath) && !ClassLib::ForceDirectories(SavePath))
        throw ClassLib::EFCreateError(
            ClassLib::Format("Cannot create the folder of saved games \"%s\".", SavePath));
    GlobalsArchive = OpenArchive("globals");
    GraphicsArchive = OpenArchive("graphics");
    ScenarioArchive = OpenArchive("scenario");
    SoundsArchive = OpenArchive("sounds");
}

void CloseDataArchives() {
    GlobalsArchive.reset();
    GraphicsArchive.reset();
    ScenarioArchive.reset();
    SoundsArchive.reset();
}

} // namespace Data2
