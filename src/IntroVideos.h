// The intro videos the main data name, played at start-up from the "Video" folder.
#pragma once

namespace Main {

// Plays each intro video whose file exists; missing files and videos that fail to
// play are skipped, so the game always goes on.
void PlayIntroVideos();

} // namespace Main
