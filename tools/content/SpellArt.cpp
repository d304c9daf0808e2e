#include "tools/content/Art.h"
namespace Content {
void DrawSpells(TLibrary&) {}
} // namespace Content
