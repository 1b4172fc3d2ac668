// Sounds played through the system's one asynchronous voice.
#pragma once

// Silences every channel while set; the application's sound command inverts it.
extern bool gSoundMuted;
