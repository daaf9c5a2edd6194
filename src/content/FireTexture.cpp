// A fire texture's step: the heat field averaged in place, the heat sources, the moving sparks.
#include "content/ProceduralTexture.h"

#include "core/Random.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {

namespace {

// A heat of the sparks' byte scale becomes a cell value: the cell's high byte picks the colour.
constexpr int kHeatToCell = 256;
constexpr float kMaxHeat = 255.0f;
// RenderHeat 250 keeps the field's heat: the averaging alone cools it. Each step away from it
// adds this much to every cell (rounded), so a lower RenderHeat cools faster, a higher one heats.
constexpr int kNeutralRenderHeat = 250;
constexpr double kRenderHeatStep = 8.704;
// Spark-emitting heat sources put a moving spark out every 16th step.
constexpr uint32_t kEmitInterval = 16;
// Sparks that drift sideways die when their age reaches this.
constexpr int kMaxSparkAge = 255;
// How far to the right of its source a stray flicker (type 1) may land.
constexpr float kStrayReach = 100.0f;

// The spark types of the heat sources; every type not named here plots a random heat.
enum SparkType : uint8_t {
    kSparkBurn = 0,
    kSparkStray = 1,     // a random heat somewhere to the right of the source
    kSparkSparkle = 3,   // a bright random heat, never below half
    kSparkPulse = 4,     // emits sparks flying off in every direction
    kSparkRise = 5,      // emits sparks rising and drifting sideways
    kSparkDrift = 6,     // emits sparks drifting sideways and sinking
    kSparkRight = 7,     // emits sparks moving right and sinking
    kSparkLeft = 8,      // emits sparks moving left and sinking
    kSparkFountain = 13, // emits sparks thrown up, slowing under a pull
    kSparkLine = 23,     // a line of even heat
    kSparkLineFade = 24, // a line fading to cold
    kSparkSpoke = 25,    // a fading line of ByteA cells in a random direction
};

bool EmitsSparks(uint8_t type) {
    switch (type) {
    case kSparkPulse:
    case kSparkRise:
    case kSparkDrift:
    case kSparkRight:
    case kSparkLeft:
    case kSparkFountain:
        return true;
    default:
        return false;
    }
}

class FireStep {
public:
    explicit FireStep(FireTexture& fire)
        : fire_(fire), width_(fire.Width()), height_(fire.Height()), cells_(fire.Field.data()) {}

    void Average();
    void Sources();
    void MoveSparks();

private:
    uint16_t& Cell(int c, int r) {
        return cells_[static_cast<size_t>(static_cast<uint32_t>(r) & fire_.VMask) * width_ +
                      (static_cast<uint32_t>(c) & fire_.UMask)];
    }
    void Plot(int x, int y, float heat);
    void HeatLine(float x0, float y0, float x1, float y1, float h0, float h1);
    void Emit(const FireSpark& spark);

    FireTexture& fire_;
    const int width_;
    const int height_;
    uint16_t* const cells_;
};

uint16_t CellHeat(float heat) { return static_cast<uint16_t>(std::clamp(heat, 0.0f, kMaxHeat) * kHeatToCell); }

void FireStep::Plot(int x, int y, float heat) {
    const uint16_t value = CellHeat(heat);
    Cell(x, y) = value;
    Cell(x - 1, y) = value;
    Cell(x + 1, y) = value;
    Cell(x, y - 1) = value;
}

void FireStep::HeatLine(float x0, float y0, float x1, float y1, float h0, float h1) {
    const bool alongX = std::fabs(x1 - x0) >= std::fabs(y1 - y0);
    // The walk goes in increasing order along the longer axis.
    if (alongX ? x1 < x0 : y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        std::swap(h0, h1);
    }
    const float length = alongX ? x1 - x0 : y1 - y0;
    const int steps = static_cast<int>(std::lround(length));
    for (int i = 0; i <= steps; ++i) {
        const float t = steps > 0 ? static_cast<float>(i) / static_cast<float>(steps) : 0.0f;
        const float x = x0 + (x1 - x0) * t;
        const float y = y0 + (y1 - y0) * t;
        Cell(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))) = CellHeat(h0 + (h1 - h0) * t);
    }
}

void FireStep::Emit(const FireSpark& spark) {
    auto slot = std::ranges::find(fire_.Moving, uint8_t{0}, &FireMovingSpark::Alive);
    if (slot == fire_.Moving.end()) {
        return; // every slot flies: this source waits for the next emission
    }
    FireMovingSpark& m = *slot;
    m = FireMovingSpark{};
    m.Alive = 1;
    m.Type = spark.Type;
    m.Heat = spark.Heat;
    if (m.Heat == 0 && (spark.Type == kSparkPulse || spark.Type == kSparkRise)) {
        m.Heat = 1; // these lose a heat a step: a cold one would die at once
    }
    m.X = spark.X;
    m.Y = spark.Y;
    if (spark.Type == kSparkPulse) {
        m.VX = 4.0f * FRand() - 2.0f;
        m.VY = 4.0f * FRand() - 2.0f;
    } else if (spark.Type == kSparkRise || spark.Type == kSparkDrift) {
        m.VX = 4.0f * FRand() - 2.0f;
    }
}

uint16_t Heated(int sum, int bias) { return static_cast<uint16_t>(std::max((sum >> 2) + bias, 0)); }

// A rising row reads only itself and the row below, which is still old (or, for the last row,
// the first, already new): no cell of the row depends on another, so the loop vectorises.
void RisingRow(uint16_t* row, const uint16_t* below, int width, int bias) {
    const int last = width - 1;
    row[0] = Heated(below[0] + row[0] + below[1 % width] + below[last], bias);
    for (int c = 1; c < last; ++c) {
        row[c] = Heated(below[c] + row[c] + below[c + 1] + below[c - 1], bias);
    }
    if (last > 0) {
        row[last] = Heated(below[last] + row[last] + below[0] + below[last - 1], bias);
    }
}

// A flat row: each cell reads the new value of the cell before it, carried along; the first
// cell's left is the row's last (still old), the last cell's right the row's first (new).
void FlatRow(uint16_t* row, const uint16_t* above, const uint16_t* below, int width, int bias) {
    uint16_t left = row[width - 1];
    for (int c = 0; c < width; ++c) {
        const uint16_t right = c + 1 < width ? row[c + 1] : row[0];
        left = row[c] = Heated(below[c] + above[c] + right + left, bias);
    }
}

// Every cell becomes the average of its neighbours plus the bias, in row order and in place, so
// later cells see the new values of earlier ones. Rising fires average the cell and the row below
// it, which carries heat upwards.
void FireStep::Average() {
    const int bias = static_cast<int>(std::lround((fire_.RenderHeat - kNeutralRenderHeat) * kRenderHeatStep));
    const uint32_t* palette = fire_.Palette.data();
    for (int r = 0; r < height_; ++r) {
        uint16_t* row = cells_ + static_cast<size_t>(r) * width_;
        const uint16_t* below = cells_ + static_cast<size_t>((r + 1) & static_cast<int>(fire_.VMask)) * width_;
        const uint16_t* above = cells_ + static_cast<size_t>((r - 1) & static_cast<int>(fire_.VMask)) * width_;
        if (fire_.bRising) {
            RisingRow(row, below, width_, bias);
        } else {
            FlatRow(row, above, below, width_, bias);
        }
        uint32_t* out = fire_.Pixels.Pixels.data() + static_cast<size_t>(r) * width_;
        for (int c = 0; c < width_; ++c) {
            out[c] = palette[row[c] >> 8];
        }
    }
}

void FireStep::Sources() {
    for (const FireSpark& s : fire_.Sparks) {
        switch (s.Type) {
        case kSparkSparkle:
            Plot(s.X, s.Y, FRand() * 127.0f + 128.0f);
            break;
        case kSparkLine:
        case kSparkLineFade: {
            const float h = (FRand() * 0.5f + 0.5f) * s.Heat;
            HeatLine(s.X, s.Y, static_cast<float>(s.X + s.ByteA), static_cast<float>(s.Y + s.ByteB), h,
                     s.Type == kSparkLine ? h : 0.0f);
            break;
        }
        case kSparkSpoke: {
            const float angle = FRand() * 2.0f * std::numbers::pi_v<float>;
            HeatLine(s.X, s.Y, s.X + std::cos(angle) * s.ByteA, s.Y + std::sin(angle) * s.ByteA, s.Heat, 0.0f);
            break;
        }
        case kSparkStray: {
            const float heat = std::round(FRand() * kMaxHeat);
            Plot(static_cast<int>(std::lround(s.X + FRand() * kStrayReach)), s.Y, heat);
            break;
        }
        default:
            if (EmitsSparks(s.Type)) {
                if (fire_.FrameCount % kEmitInterval == 0) {
                    Emit(s);
                }
            } else {
                Plot(s.X, s.Y, FRand() * kMaxHeat);
            }
            break;
        }
    }
}

void FireStep::MoveSparks() {
    for (FireMovingSpark& m : fire_.Moving) {
        if (!m.Alive) {
            continue;
        }
        switch (m.Type) {
        case kSparkRise:
            m.Y -= 1.0f;
            m.X += m.VX;
            m.Heat -= 1;
            break;
        case kSparkDrift:
        case kSparkRight:
        case kSparkLeft:
            m.X += m.Type == kSparkDrift ? m.VX : (m.Type == kSparkRight ? 1.0f : -1.0f);
            if (FRand() < 0.5f) {
                m.Y += 1.0f;
            }
            m.Age += 1;
            break;
        case kSparkFountain:
            m.VY -= 2.0f * FRand() / 60.0f;
            m.Y += m.VY;
            m.Heat -= 1;
            break;
        default:
            m.Y += m.VY;
            m.X += m.VX;
            m.Heat -= 1;
            break;
        }
        Plot(static_cast<int>(std::lround(m.X)), static_cast<int>(std::lround(m.Y)), static_cast<float>(m.Heat));
        if (m.Heat <= 0 || m.Age >= kMaxSparkAge) {
            m.Alive = 0;
        }
    }
}

} // namespace

void FireTexture::Update(float /*deltaTime*/) {
    // A texture built by hand (not by MakeFireTexture) may lack its field or masks: nothing to
    // animate then.
    if (Field.empty() || Field.size() != Pixels.Pixels.size() || UMask + 1 != static_cast<uint32_t>(Width()) ||
        VMask + 1 != static_cast<uint32_t>(Height())) {
        return;
    }
    ++FrameCount;
    FireStep step(*this);
    step.Average();
    step.Sources();
    step.MoveSparks();
}

} // namespace orv
