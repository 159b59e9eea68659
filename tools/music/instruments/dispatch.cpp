#include "instruments/voice.h"

namespace music {

Stereo renderNote(const Note& n, const VoiceContext& c)
{
    switch (n.instrument) {
    case Instrument::Kick: return renderKick(n, c);
    case Instrument::Snare: return renderSnare(n, c);
    case Instrument::Clap: return renderClap(n, c);
    case Instrument::ClosedHat: return renderHat(n, c, false);
    case Instrument::OpenHat: return renderHat(n, c, true);
    case Instrument::Shaker: return renderShaker(n, c);
    case Instrument::Crash: return renderCrash(n, c);
    case Instrument::Tick: return renderTick(n, c);
    case Instrument::Bass: return renderBass(n, c);
    case Instrument::Pad: return renderPad(n, c);
    case Instrument::Pluck: return renderPluck(n, c);
    case Instrument::Lead: return renderLead(n, c);
    case Instrument::Stab: return renderStab(n, c);
    case Instrument::Gate: return renderGate(n, c);
    case Instrument::Riser: return renderRiser(n, c);
    case Instrument::Downlifter: return renderDownlifter(n, c);
    case Instrument::ReverseCymbal: return renderReverseCymbal(n, c);
    case Instrument::Impact: return renderImpact(n, c);
    case Instrument::SubDrop: return renderSubDrop(n, c);
    case Instrument::Glitch: return renderGlitch(n, c);
    }
    return {};
}

} // namespace music
