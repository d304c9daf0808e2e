// Varnholt's entry point. The game's window and screens are added layer by
// layer; until then the program starts the engine core and reports it.
#include "engine/core/Base.h"
#include "engine/core/Random.h"

#include <cstdio>
#include <exception>

int main() {
    try {
        Base::InitBaseUnit();
        Base::InitRandomStates();
        std::printf("Varnholt: engine core started from %s\n", Base::ProgramPath.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Varnholt: %s\n", e.what());
        return 1;
    }
}
