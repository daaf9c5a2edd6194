// Wavy surfaces.
#include "render/WavySurface.h"

#include "render/ActorDraw.h"
#include "world/ActorClasses.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv {

namespace {

// Waves by the part they move and the axis they run along, as WavySurfaceInfo::Waves holds them.
enum WavePart : int { kUFromX, kVFromX, kZFromX, kUFromY, kVFromY, kZFromY };

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Grid vertices drawn along each side at most: a level asking for more (a mistyped SizeX) gets a
// grid this fine rather than a frame that never ends.
constexpr int kMaxWavyGridSide = 256;

// One wave's offset at grid step n along its axis. A wave without a wavelength or an amplitude
// moves nothing (a zero wavelength would divide by zero).
float WaveOffset(const WaveTerm& wave, float time, int n) {
    if (wave.Wavelength == 0.0f || wave.Amplitude == 0.0f) {
        return 0.0f;
    }
    const double turns = double(time) * wave.Speed + double(n) / wave.Wavelength + wave.Phase;
    return wave.Amplitude * static_cast<float>(std::sin(turns * kTwoPi));
}

} // namespace

WavyVertex WavyVertexAt(const WavySurfaceInfo& s, int i, int j) {
    const float t = s.WaveTime;
    const float across = s.SizeX > 1 ? static_cast<float>(i) / static_cast<float>(s.SizeX - 1) : 0.0f;
    const float down = s.SizeY > 1 ? static_cast<float>(j) / static_cast<float>(s.SizeY - 1) : 0.0f;
    WavyVertex v;
    v.U = across * s.TexXSize + t * s.USpeed + WaveOffset(s.Waves[kUFromX], t, i) + WaveOffset(s.Waves[kUFromY], t, j);
    v.V = down * s.TexYSize + t * s.VSpeed + WaveOffset(s.Waves[kVFromX], t, i) + WaveOffset(s.Waves[kVFromY], t, j);
    v.Z = WaveOffset(s.Waves[kZFromX], t, i) + WaveOffset(s.Waves[kZFromY], t, j);
    return v;
}

void DrawWavySurface(Renderer& renderer, WavySurfaceInfo& surface) {
    if (surface.SizeX < 2 || surface.SizeY < 2) {
        return; // no cell to draw
    }
    SetRenderMode(RenderMode::Opaque);
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    ApplyActorTransform(surface);
    BindTexture(renderer.Cache, surface.Tex);
    glColor4f(kUnlitColour, kUnlitColour, kUnlitColour, 1.0f);
    auto corner = [&surface](int i, int j) {
        const WavyVertex v = WavyVertexAt(surface, i, j);
        glTexCoord2f(v.U, v.V);
        glVertex3f(static_cast<float>(i) * surface.XGridSpace, static_cast<float>(j) * surface.YGridSpace, v.Z);
    };
    const int sizeX = std::min(surface.SizeX, kMaxWavyGridSide);
    const int sizeY = std::min(surface.SizeY, kMaxWavyGridSide);
    glBegin(GL_QUADS);
    for (int i = 0; i + 1 < sizeX; ++i) {
        for (int j = 0; j + 1 < sizeY; ++j) {
            corner(i, j);
            corner(i + 1, j);
            corner(i + 1, j + 1);
            corner(i, j + 1);
        }
    }
    glEnd();
    glPopMatrix();
}

} // namespace orv
