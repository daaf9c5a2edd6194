// A water texture's step: drops drive a damped integer wave whose heights shift the rows of the
// source picture sideways.
#include "content/ProceduralTexture.h"

#include <cmath>
#include <numbers>

namespace orv {

namespace {

// A drop's depth swings with this angular speed (radians per second) from its phase.
constexpr double kDropRate = 7.0;
// A drop's depth (a byte) becomes a wave speed of this scale.
constexpr double kDropScale = 256.0;
// The wave in fixed point: each cell's speed takes 79/256 of its four neighbours' heights, loses
// 316/256 of its own height, and keeps 485/512 of what it has (damping).
constexpr uint32_t kCoupling = 79;
constexpr int kCouplingShift = 8;
constexpr uint32_t kRestoring = 316;
constexpr int kRestoringShift = 8;
constexpr uint32_t kDamping = 485;
constexpr int kDampingShift = 9;
// WaveAmplitude x height, shifted down this far, is the sideways shift of a texel.
constexpr int kRefractionShift = 18;

// The wave works in 32-bit two's complement as the format's integers do: products that leave the
// range wrap instead of being undefined, and a signed shift is arithmetic.
int32_t Wrap(uint32_t v) { return static_cast<int32_t>(v); }
uint32_t U(int32_t v) { return static_cast<uint32_t>(v); }

void DriveDrops(WetTexture& wet) {
    const int width = wet.Width();
    for (const WetDrop& d : wet.Drops) {
        const size_t index = static_cast<size_t>(d.X & wet.VMask) * width + (d.Y & wet.UMask);
        const double angle = d.Phase / 256.0 * 2.0 * std::numbers::pi + static_cast<double>(wet.Time) * kDropRate;
        wet.WaveSpeed[index] = static_cast<int32_t>(std::lround(d.Depth * std::sin(angle) * kDropScale));
    }
}

// One speed update from the four neighbours a, b, c, d of the cell.
inline int32_t NewSpeed(int32_t speed, int32_t height, int32_t a, int32_t b, int32_t c, int32_t d) {
    const int32_t coupled = Wrap((U(a) + U(b) + U(c) + U(d)) * kCoupling) >> kCouplingShift;
    const int32_t s = Wrap(U(speed) + U(coupled));
    const int32_t restoring = Wrap(U(height) * kRestoring) >> kRestoringShift;
    return Wrap(U(Wrap(U(s) - U(restoring))) * kDamping) >> kDampingShift;
}

// The sweep runs over the linear index and wraps it with the cell count, so the cell left of a
// row's first is the previous row's last, and the first row's upper neighbours are the last row.
void Waves(WetTexture& wet) {
    const size_t width = static_cast<size_t>(wet.Width());
    const size_t count = wet.WaveHeight.size();
    const size_t mask = count - 1;
    const int32_t* h = wet.WaveHeight.data();
    int32_t* speed = wet.WaveSpeed.data();
    auto edgeCell = [&](size_t i) {
        speed[i] = NewSpeed(speed[i], h[i], h[(i + width) & mask], h[(i - width) & mask], h[(i - 1) & mask],
                            h[(i + 1) & mask]);
    };
    // Only the first and the last row reach across the ends of the array.
    const size_t interiorEnd = count > width ? count - width : width;
    for (size_t i = 0; i < width && i < count; ++i) {
        edgeCell(i);
    }
    for (size_t i = width; i < interiorEnd; ++i) {
        speed[i] = NewSpeed(speed[i], h[i], h[i + width], h[i - width], h[i - 1], h[i + 1]);
    }
    for (size_t i = interiorEnd; i < count; ++i) {
        edgeCell(i);
    }
    int32_t* height = wet.WaveHeight.data();
    for (size_t i = 0; i < count; ++i) {
        height[i] = Wrap(U(height[i]) + U(speed[i]));
    }
}

// Row r of the picture is row r of the source, each texel taken from a column shifted by the
// wave. The heights are read with row and column exchanged, which on square textures mirrors the
// pattern; other sizes wrap the index with the cell count. A source of another size repeats.
void Refract(WetTexture& wet, const Image& source) {
    const int width = wet.Width();
    const int height = wet.Height();
    const size_t mask = wet.WaveHeight.size() - 1;
    const uint32_t amplitude = wet.WaveAmplitude;
    const bool sameSize = source.Width == width && source.Height == height;
    for (int r = 0; r < height; ++r) {
        const uint32_t* in =
            source.Pixels.data() + static_cast<size_t>(sameSize ? r : r % source.Height) * source.Width;
        uint32_t* out = wet.Pixels.Pixels.data() + static_cast<size_t>(r) * width;
        for (int c = 0; c < width; ++c) {
            const int32_t shift =
                Wrap(amplitude * U(wet.WaveHeight[(static_cast<size_t>(c) * width + r) & mask])) >> kRefractionShift;
            const uint32_t column = static_cast<uint32_t>(c + shift) & wet.UMask;
            out[c] = in[sameSize ? column : column % static_cast<uint32_t>(source.Width)];
        }
    }
}

} // namespace

void WetTexture::Update(float deltaTime) {
    Time += deltaTime;
    const Image* source = SourceTexture ? &SourceTexture->Pixels : nullptr;
    if (!source || source->IsEmpty()) {
        return; // nothing to refract: the picture keeps what it shows
    }
    // A texture built by hand (not by MakeWetTexture) may lack its wave or masks.
    const size_t cells = Pixels.Pixels.size();
    if (cells == 0 || WaveHeight.size() != cells || WaveSpeed.size() != cells ||
        UMask + 1 != static_cast<uint32_t>(Width()) || VMask + 1 != static_cast<uint32_t>(Height())) {
        return;
    }
    DriveDrops(*this);
    Waves(*this);
    Refract(*this, *source);
}

} // namespace orv
