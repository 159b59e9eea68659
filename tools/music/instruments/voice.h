#pragma once
#include <cstdint>

#include "dsp/stereo.h"
#include "score/score.h"

namespace music {

// Everything a voice needs besides its note: the song (for automation at
// the note's time), the sample rate and a seed for its noise.
struct VoiceContext {
    const Score& score;
    float sampleRate;
    uint32_t seed;
};

inline Stereo voiceBuffer(float seconds, float sampleRate)
{
    return Stereo(static_cast<size_t>(seconds * sampleRate) + 1);
}

Stereo renderKick(const Note& n, const VoiceContext& c);
Stereo renderSnare(const Note& n, const VoiceContext& c);
Stereo renderClap(const Note& n, const VoiceContext& c);
Stereo renderHat(const Note& n, const VoiceContext& c, bool open);
Stereo renderShaker(const Note& n, const VoiceContext& c);
Stereo renderCrash(const Note& n, const VoiceContext& c);
Stereo renderTick(const Note& n, const VoiceContext& c);

Stereo renderBass(const Note& n, const VoiceContext& c);
Stereo renderPad(const Note& n, const VoiceContext& c);
Stereo renderStab(const Note& n, const VoiceContext& c);
Stereo renderGate(const Note& n, const VoiceContext& c);
Stereo renderPluck(const Note& n, const VoiceContext& c);
Stereo renderLead(const Note& n, const VoiceContext& c);

Stereo renderRiser(const Note& n, const VoiceContext& c);
Stereo renderDownlifter(const Note& n, const VoiceContext& c);
Stereo renderReverseCymbal(const Note& n, const VoiceContext& c);
Stereo renderImpact(const Note& n, const VoiceContext& c);
Stereo renderSubDrop(const Note& n, const VoiceContext& c);
Stereo renderGlitch(const Note& n, const VoiceContext& c);

// Dispatches on the note's instrument.
Stereo renderNote(const Note& n, const VoiceContext& c);

} // namespace music
