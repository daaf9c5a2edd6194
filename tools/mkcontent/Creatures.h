// Every mesh of the demo content, modelled and animated from primitives.
#pragma once

#include "MeshModel.h"

#include <vector>

namespace orv {

MeshDefinition MakeBrute();
MeshDefinition MakeSkaarj();
MeshDefinition MakeManta();
MeshDefinition MakeTentacle();
MeshDefinition MakeDevilFish();
MeshDefinition MakeBird();
MeshDefinition MakeMedBox();
MeshDefinition MakeNaliFruit();
MeshDefinition MakePistolPickup();
MeshDefinition MakePistolView();

std::vector<MeshDefinition> AllMeshDefinitions();
// The gold skin SuperHealth puts on the health box (UnrealShare.Skins.JMedBox2).
Image MakeSuperHealthSkin();

// The animation sequence's frame count, rate and motion, for short definitions.
MeshSequenceSpec Sequence(const std::string& name, int frames, int rate, std::function<Pose(float)> animate);

} // namespace orv
