#include "tools/content/Art.h"
namespace Content {
void DrawCreatures(TLibrary&) {}
} // namespace Content
