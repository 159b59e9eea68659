#pragma once
#include <cstddef>
#include <vector>

namespace music {

struct Stereo {
    std::vector<float> l, r;

    Stereo() = default;
    explicit Stereo(size_t n) : l(n, 0.0f), r(n, 0.0f) {}
    size_t size() const { return l.size(); }
    void resize(size_t n)
    {
        l.resize(n, 0.0f);
        r.resize(n, 0.0f);
    }
};

// Constant-power pan, -1 left .. +1 right.
struct PanGains {
    float l, r;
};
PanGains panGains(float pan);

void addInto(Stereo& dst, const Stereo& src, long offset, float gain, float pan);

} // namespace music
