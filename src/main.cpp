// Varnholt's entry point. The game's window and screens are added layer by
// layer; until then the program starts the engine core and sound, plays the
// first sound of the data when there is one, and reports it.
#include "engine/media/SoundStartup.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/core/Random.h"
#include "src/DataSound.h"

#include <cstdio>
#include <exception>

int main() {
    try {
        Base::InitBaseUnit();
        Base::InitRandomStates();
        std::printf("Varnholt: engine core started from %s\n", Base::ProgramPath.c_str());
        Main::StartSound(nullptr);
        if (Main::DSFramework) {
            Data::ReadDataPath();
            const ClassLib::AnsiString played = PlayFirstDataSound(*Main::DSFramework, 3000);
            std::printf("Varnholt: sound started; %s\n",
                        played.empty() ? "the data hold no sound" : ("played " + played).c_str());
        } else {
            std::printf("Varnholt: no sound device, running silently\n");
        }
        Main::StopSound();
        return 0;
    } catch (const std::exception& e) {
        Main::StopSound();
        std::fprintf(stderr, "Varnholt: %s\n", e.what());
        return 1;
    }
}
