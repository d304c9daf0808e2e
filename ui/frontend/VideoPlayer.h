// Full-screen video playback. There is no video player yet: every video is skipped.
#pragma once

#include "platform/classlib/AnsiString.h"

namespace FrontEnd {

// Plays the video file modally; false when it was not played. Without a video player
// nothing is ever played.
bool PlayVideo(const ClassLib::AnsiString& fileName);

} // namespace FrontEnd
