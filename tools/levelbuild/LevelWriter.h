// The compiled tree, zones and surfaces as a Level Model: points, vertex pool, nodes with their
// zone numbers and leaves, the zone table and the actor references it points into. Lightmap
// records and light lists stay empty here.
#pragma once

#include "Bsp.h"
#include "MapFile.h"
#include "Zones.h"

#include "content/LevelModel.h"

#include <cstdint>
#include <vector>

namespace orv {

// Node flags of the compiled file.
constexpr uint8_t kNodeSheet = 0x01;      // its polygon bounds no solid (sheets, zone portals)
constexpr uint8_t kNodeZonePortal = 0x02; // its polygon separates zones

// Fills the model's actor references, points, vertex pool, nodes and zone table. The surfaces are
// already in the model, and the tree's nodes name them.
void FillLevelModel(LevelModel& model, const BspTree& tree, const ZoneResult& zones, const MapFile& map);

} // namespace orv
