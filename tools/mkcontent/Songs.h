// The two songs of the demo maps, written as extended modules with synthesised instruments:
// Music\Emberfall.xm and Music\Undertow.xm (a LevelInfo plays one with Song=Music'Emberfall').
#pragma once

#include "XmWriter.h"

#include <string>
#include <vector>

namespace orv {

struct SongInfo {
    std::string Name;
    XmModule Module;
};

std::vector<SongInfo> DemoSongs();

} // namespace orv
