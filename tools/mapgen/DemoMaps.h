// The two demo levels that the build compiles and `make run` plays: Demo1, a tour of everything
// the engine's world can do, and Demo2, a small second level with its own song and a way back.
#pragma once

#include <string>
#include <vector>

namespace orv::mapgen {

struct DemoMap {
    std::string Name; // the file name without ".t3d"
    std::string Text; // the T3D
};

std::string Demo1();
std::string Demo2();

// Both maps, in play order.
std::vector<DemoMap> DemoMaps();

} // namespace orv::mapgen
