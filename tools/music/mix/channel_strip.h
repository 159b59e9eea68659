#pragma once
#include "score/score.h"

namespace music {

enum class Bus { Drums, Music, Effects };

// Where an instrument goes and how loud: the mixing desk of the song.
struct ChannelStrip {
    Bus bus;
    float gainDb;
    float pan;
    float reverbSend;
    float delaySend;
};

ChannelStrip channelStrip(Instrument i);

} // namespace music
