#include "mix/mixer.h"

#include <cmath>

#include "dsp/compressor.h"
#include "dsp/noise.h"
#include "dsp/reverb.h"
#include "dsp/stereo_delay.h"
#include "dsp/svf.h"
#include "instruments/voice.h"
#include "mix/channel_strip.h"
#include "mix/stutter.h"
#include "score/timing.h"

namespace music {
namespace {

struct Buses {
    Stereo drums, music, effects, reverbSend, delaySend;
    std::vector<float> kick; // the sidechain key
    explicit Buses(size_t n) : drums(n), music(n), effects(n), reverbSend(n), delaySend(n), kick(n, 0.0f) {}

    Stereo& bus(Bus b) { return b == Bus::Drums ? drums : b == Bus::Music ? music : effects; }
};

float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }

void playNotes(const Score& score, Buses& buses, float sampleRate)
{
    for (size_t k = 0; k < score.notes.size(); ++k) {
        const Note& n = score.notes[k];
        long start = rowToSample(n.row);
        VoiceContext ctx{score, sampleRate, mixSeed(static_cast<uint32_t>(n.instrument), static_cast<uint32_t>(start))};
        Stereo voice = renderNote(n, ctx);
        ChannelStrip strip = channelStrip(n.instrument);
        float gain = dbToGain(strip.gainDb);
        float sends = score.param(Param::ReverbSend, n.row, 1.0f);
        addInto(buses.bus(strip.bus), voice, start, gain, strip.pan);
        if (strip.reverbSend > 0.0f) addInto(buses.reverbSend, voice, start, gain * strip.reverbSend * sends, strip.pan);
        if (strip.delaySend > 0.0f) addInto(buses.delaySend, voice, start, gain * strip.delaySend, strip.pan);
        if (n.instrument == Instrument::Kick)
            for (size_t i = 0; i < voice.size() && start + static_cast<long>(i) < static_cast<long>(buses.kick.size()); ++i)
                if (start + static_cast<long>(i) >= 0) buses.kick[start + i] += voice.l[i];
    }
}

// A low-pass that follows an automation curve over the whole bus.
void automatedLowPass(Stereo& s, const Score& score, Param p, float sampleRate)
{
    if (score.automation.find(p) == score.automation.end()) return;
    Svf l, r;
    for (size_t n = 0; n < s.size(); ++n) {
        if (n % 32 == 0) {
            float fc = score.param(p, static_cast<double>(n) / kSamplesPerRow, 20000.0f);
            l.set(fc, 0.75f, sampleRate);
            r.set(fc, 0.75f, sampleRate);
        }
        s.l[n] = l.low(s.l[n]);
        s.r[n] = r.low(s.r[n]);
    }
}

void addAll(Stereo& dst, const Stereo& src)
{
    for (size_t n = 0; n < dst.size(); ++n) {
        dst.l[n] += src.l[n];
        dst.r[n] += src.r[n];
    }
}

} // namespace

Stereo mixScore(const Score& score, size_t samples, float sampleRate)
{
    Buses buses(samples);
    playNotes(score, buses, sampleRate);

    // The kick ducks everything tonal, the reverb tail included: the pump
    // that makes the groove breathe.
    CompressorSettings duck{-16.0f, 3.0f, 6.0f, 1.0f, 150.0f, 0.0f};
    compress(buses.music, duck, sampleRate, &buses.kick);
    CompressorSettings glue{-14.0f, 2.5f, 6.0f, 4.0f, 90.0f, 1.5f};
    compress(buses.drums, glue, sampleRate);

    Stereo wet = reverb(buses.reverbSend, ReverbSettings{}, sampleRate);
    addAll(wet, pingPongDelay(buses.delaySend, DelaySettings{}, sampleRate));
    compress(wet, duck, sampleRate, &buses.kick);

    automatedLowPass(buses.drums, score, Param::DrumsLowPass, sampleRate);
    Stereo mix = std::move(buses.music);
    addAll(mix, wet);
    automatedLowPass(mix, score, Param::MusicLowPass, sampleRate);
    addAll(mix, buses.drums);
    addAll(mix, buses.effects);
    applyStutters(mix, score.stutters, sampleRate);
    return mix;
}

} // namespace music
