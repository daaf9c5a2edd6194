// Every sound of the demo content: the names the player plays (menus, the player's voice,
// pickups, shots, explosions), monster voices, doors and lifts, ambient loops and the
// underwater loop of the engine package.
#pragma once

#include "AudioSynth.h"

#include <functional>
#include <string>
#include <vector>

namespace orv {

struct SoundInfo {
    std::string Name; // package-qualified: "UnrealShare.Menu.Select4"
    bool Ogg = false;
    std::function<Samples(RandomGenerator&)> Make;
};

const std::vector<SoundInfo>& SoundList();

// Where a sound lies in the tree: Sounds\<Package>\Sounds\<Group>\<Name>.wav (or .ogg).
std::string SoundPath(const SoundInfo& sound);

} // namespace orv
