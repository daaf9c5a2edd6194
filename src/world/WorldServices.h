// What the world asks of the layers above it: sound, music, the game over screen, screenshots
// and the renderer's per-level work. The engine implements it; tests record the calls. Every
// operation does nothing by default.
#pragma once

#include "core/Vector.h"

#include <string>
#include <string_view>

namespace orv {

struct Actor;
struct World;

class WorldServices {
public:
    virtual ~WorldServices() = default;

    // Sound and music.
    virtual void PlayActorSound(Actor& /*actor*/, std::string_view /*soundName*/, float /*volume*/) {}
    virtual void FreeAmbientSounds() {}
    virtual void StartAmbientSounds(World& /*world*/) {}
    virtual void PlayMusic(std::string_view /*song*/, int /*section*/) {}
    // A music event: the song from a pattern, or silence.
    virtual void ChangeMusic(std::string_view /*song*/, int /*section*/, bool /*silence*/) {}
    virtual void FreeMusic() {}
    virtual bool IsMusicLoaded() const { return false; }
    virtual void SetListener(const Vector& /*location*/, const Vector& /*front*/, const Vector& /*top*/) {}
    virtual void SetUnderwater(bool /*underwater*/) {}

    // The player died: the game is over (the shell shows its game over screen).
    virtual void GameOver() {}
    virtual void TakeScreenshot() {}

    // Level loading steps that belong to the renderer and the window.
    virtual void DrawLoadingScreen() {}
    virtual void PrepareLightmaps(World& /*world*/) {}
    virtual void SetFarPlane(float /*farPlane*/) {}
    virtual void SetWindowTitle(const std::string& /*title*/) {}
};

} // namespace orv
