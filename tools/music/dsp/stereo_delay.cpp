#include "dsp/stereo_delay.h"

#include <vector>

#include "dsp/svf.h"

namespace music {

Stereo pingPongDelay(const Stereo& input, const DelaySettings& s, float sampleRate)
{
    size_t len = static_cast<size_t>(s.seconds * sampleRate + 0.5f);
    std::vector<float> bufL(len, 0.0f), bufR(len, 0.0f);
    Svf lp, hp;
    lp.set(s.lowPassHz, 0.7f, sampleRate);
    hp.set(s.highPassHz, 0.7f, sampleRate);
    Stereo out(input.size());
    size_t pos = 0;
    for (size_t n = 0; n < input.size(); ++n) {
        float echoL = bufL[pos], echoR = bufR[pos];
        float mono = 0.5f * (input.l[n] + input.r[n]);
        // Fresh input enters on the left only; the right line is fed by the
        // left one, which is what makes the echoes bounce.
        float fed = lp.low(hp.high(mono + echoR * s.feedback));
        bufL[pos] = fed;
        bufR[pos] = echoL;
        if (++pos == len) pos = 0;
        out.l[n] = echoL;
        out.r[n] = echoR;
    }
    return out;
}

} // namespace music
