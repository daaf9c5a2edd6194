// The fire (.firet) and water (.wett) textures of package Orvane, and a preview of how the
// player animates them, so their sparks and drops can be checked to give a living picture.
#pragma once

#include "GenCommon.h"
#include "content/ProceduralTexture.h"

#include <string>
#include <vector>

namespace orv {

struct NamedFireTexture {
    std::string Group;
    std::string Name;
    FireTextureFile File;
};

struct NamedWetTexture {
    std::string Group;
    std::string Name;
    WetTextureFile File;
};

std::vector<NamedFireTexture> FireTextures();
std::vector<NamedWetTexture> WetTextures();

// Runs the fire update (heat field, sparks, moving sparks) the way the player does, frame
// after frame, from its own seeded random numbers.
class FirePreview {
public:
    explicit FirePreview(const FireTextureFile& fire);
    void Step();
    const Image& Picture() const { return image_; }

private:
    struct MovingSpark {
        bool Alive = false;
        uint8_t Type = 0;
        int Heat = 0;
        int Age = 0;
        float X = 0, Y = 0, VX = 0, VY = 0;
    };
    uint16_t& Cell(int c, int r);
    void Plot(int x, int y, int heat);
    void HeatLine(float x0, float y0, float x1, float y1, float h0, float h1);
    void UpdateSparks();

    FireTextureFile fire_;
    std::vector<uint16_t> field_;
    std::vector<MovingSpark> moving_;
    Image image_;
    int frameCount_ = 0;
    RandomGenerator random_;
};

// The water update: drops drive a damped wave whose heights shift the source picture's texels.
class WetPreview {
public:
    WetPreview(const WetTextureFile& wet, const Image& source);
    void Step(float deltaTime);
    const Image& Picture() const { return image_; }

private:
    WetTextureFile wet_;
    Image source_;
    Image image_;
    std::vector<int32_t> height_;
    std::vector<int32_t> speed_;
    float time_ = 0.0f;
};

} // namespace orv
