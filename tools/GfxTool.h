// vrngfx: PNG pictures into "GFX " sprites, and sprites into "GFXL" libraries.
//   vrngfx sprite [options] <out.gfx> <frame.png>...
//     --id N          sprite identifier (default 0)
//     --kind K        0 raw, 1 RunLineA, 2 RunLineB, 3 compressed rows, 4 surface dump
//     --bits B        16 (default), 24 or 32
//     --blend M       ff (premultiplied), fe (additive) or a number 1-253 (alpha)
//     --submode S     0-3
//     --hotspot X,Y
//     --frames N      split every picture into N frames side by side
//     --no-key        no colour key: transparent pixels are drawn
//     --shadow FILE   a picture whose opaque pixels darken, one frame wide per frame
//   vrngfx library [--id N] <out.gfxl> <sprite.gfx>...
#pragma once

#include <string>
#include <vector>

namespace Tools {

// Runs the tool on its arguments (without the program name); 0 on success, else
// the error is written to standard error and 1 (2 for bad usage) is returned.
int RunGfxTool(const std::vector<std::string>& args);

} // namespace Tools
