// PNG pictures into "GFX " sprites and sprites into "GFXL" libraries (see GfxTool.h).
#include "tools/GfxTool.h"

int main(int argc, char** argv) {
    return Tools::RunGfxTool(std::vector<std::string>(argv + 1, argv + argc));
}
