// The sound bank: 30 WAV files loaded once at start-up, and the random cue
// that every paddle hit and every point starts.
#pragma once

#include <string>
#include <vector>

#include "game/records.h"

enum class CueGroup { Player, Computer };

// The slot of load-order index i (0 = intro ... 29 = computerCues[13]).
Mix_Chunk** soundSlot(SoundBank& bank, int index);

// Fills the 30 slots; a file that cannot be read leaves its slot empty. Gives
// back one message for each such file, naming it (none when no audio device
// is open: then no file could be read).
std::vector<std::string> loadSoundBank(SoundBank& bank);

// Reseeds the generator from the current second, draws one cue of the group and
// starts it once on the first free channel. An empty slot stays silent.
void playCue(SoundBank& bank, CueGroup group);

// Starts a chunk once on the first free channel; the intro, the outro and every cue.
void startSound(Mix_Chunk* chunk);

// Frees every slot in load order and sets it to null.
void freeSoundBank(SoundBank& bank);
