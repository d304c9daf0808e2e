// A check that sound works from the data to the speakers: plays the first sound
// of the "sounds" archive, while the game's own screens are still to come.
#pragma once

#include "engine/sound/DSFramework.h"
#include "platform/classlib/AnsiString.h"

// Starts the first sound library (its first sound) or WAV file of the "sounds"
// archive in DataPath; it plays on by itself. Returns what it plays, e.g.
// "effects.audl, sound 5", or nothing when the data hold no sound. A damaged
// file raises an exception naming it.
ClassLib::AnsiString StartFirstDataSound(DSFrame::TDSFramework& sound);
