#include "ui/frontend/VideoPlayer.h"

namespace FrontEnd {

bool PlayVideo(const ClassLib::AnsiString&) {
    return false;
}

} // namespace FrontEnd
