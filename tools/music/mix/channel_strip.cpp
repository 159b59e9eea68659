#include "mix/channel_strip.h"

namespace music {

ChannelStrip channelStrip(Instrument i)
{
    switch (i) {
    case Instrument::Kick: return {Bus::Drums, -7.0f, 0.0f, 0.0f, 0.0f};
    case Instrument::Snare: return {Bus::Drums, -7.0f, 0.05f, 0.22f, 0.0f};
    case Instrument::Clap: return {Bus::Drums, -5.0f, -0.05f, 0.28f, 0.0f};
    case Instrument::ClosedHat: return {Bus::Drums, -12.0f, 0.3f, 0.04f, 0.0f};
    case Instrument::OpenHat: return {Bus::Drums, -15.0f, -0.25f, 0.08f, 0.0f};
    case Instrument::Shaker: return {Bus::Drums, -18.0f, -0.45f, 0.1f, 0.0f};
    case Instrument::Crash: return {Bus::Drums, -15.0f, 0.0f, 0.2f, 0.0f};
    case Instrument::Tick: return {Bus::Effects, -20.0f, 0.35f, 0.1f, 0.35f};
    case Instrument::Bass: return {Bus::Music, -7.0f, 0.0f, 0.0f, 0.0f};
    case Instrument::Pad: return {Bus::Music, -7.0f, 0.0f, 0.3f, 0.0f};
    case Instrument::Pluck: return {Bus::Music, -12.0f, 0.0f, 0.22f, 0.3f};
    case Instrument::Lead: return {Bus::Music, -6.0f, 0.0f, 0.22f, 0.25f};
    case Instrument::Stab: return {Bus::Music, -11.0f, 0.0f, 0.3f, 0.15f};
    case Instrument::Gate: return {Bus::Music, -14.0f, 0.0f, 0.15f, 0.0f};
    case Instrument::Riser: return {Bus::Effects, -15.0f, 0.0f, 0.3f, 0.0f};
    case Instrument::Downlifter: return {Bus::Effects, -17.0f, 0.0f, 0.4f, 0.0f};
    case Instrument::ReverseCymbal: return {Bus::Effects, -16.0f, 0.0f, 0.15f, 0.0f};
    case Instrument::Impact: return {Bus::Effects, -7.0f, 0.0f, 0.45f, 0.0f};
    case Instrument::SubDrop: return {Bus::Effects, -8.0f, 0.0f, 0.0f, 0.0f};
    case Instrument::Glitch: return {Bus::Effects, -15.0f, 0.0f, 0.1f, 0.25f};
    }
    return {Bus::Effects, -60.0f, 0.0f, 0.0f, 0.0f};
}

} // namespace music
