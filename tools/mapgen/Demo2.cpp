// Demo2, "Undertow Cistern": an arrival room, a corridor behind a door and a cistern with a slime
// pit, its own song, and a teleporter back to Demo1.
//
// Plan (X east, Y north, Z up; floors at Z 0):
//   arrival    0..640 x 0..512
//   corridor   640..1024 x 192..320
//   cistern    1024..1536 x 0..512, slime pit 1152..1408 x 128..384
#include "DemoMaps.h"
#include "Shapes.h"

namespace orv::mapgen {

std::string Demo2() {
    MapWriter map;
    map.Comment("Demo2, made by orvane-mapgen (tools/mapgen). Edit the generator and run it again, or edit here.");
    map.Comment("The arrival room.");
    Room(map, {0, 0, 0}, {640, 512, 256}, {"Orvane.Stone.Floor", "Orvane.Wood.Planks", "Orvane.Stone.Bricks"});
    Block(map, {480, 32, 0}, {576, 128, 64}, Plain("Orvane.Wood.Crate"));
    map.Actor("LevelInfo", {32, 32, 200},
              {{"Title", Quoted("Undertow Cistern")},
               {"Author", Quoted("The Orvane developers")},
               {"LevelEnterText", Quoted("The cistern under the halls")},
               {"Song", "Music'Undertow.Undertow'"},
               {"AmbientBrightness", "8"}});
    map.Actor("PlayerStart", {96, 256, 40}, {{"Tag", "Start"}});
    Light(map, "Light", {320, 256, 220}, 150, 30, 180, 32);
    Light(map, "Light", {560, 440, 180}, 120, 100, 120, 12, {{"LightType", "LT_Flicker"}});
    map.Actor("NaliFruit", {300, 100, 14});

    map.Comment("The corridor and its door.");
    Room(map, {640, 192, 0}, {1024, 320, 160}, {"Orvane.Metal.Plate", "Orvane.Metal.Plate", "Orvane.Metal.Rust"});
    Door(map, {{656, 192, 0}, {672, 320, 160}, 152, "BumpOpenTimed", ""});
    Light(map, "Light", {840, 256, 140}, 110, 0, 255, 10);

    map.Comment("The cistern and its slime pit.");
    Room(map, {1024, 0, 0}, {1536, 512, 320}, {"Orvane.Tiles.Mosaic", "Orvane.Stone.DarkWall", "Orvane.Stone.Wall"});
    Pool(map, {{1152, 128, -40},
               {1408, 384, 0},
               8,
               Plain("Orvane.Nature.Rock"),
               "Orvane.Liquid.SlimeWet",
               kAutoVPan,
               "SlimeZone",
               {{"DamagePerSec", "10"}}});
    Light(map, "Light", {1280, 256, 200}, 140, 70, 100, 20, {{"LightEffect", "LE_FastWave"}});
    Light(map, "Light", {1480, 440, 280}, 120, 30, 200, 16);
    map.Actor("AmbientSound", {1280, 256, 100},
              {{"AmbientSound", "Sound'Orvane.Ambient.Cave'"}, {"SoundRadius", "48"}});
    map.Actor("Skaarj", {1450, 80, 60});
    map.Actor("Manta", {1100, 420, 200});
    map.Actor("Health", {1480, 460, 8});
    map.Actor("Teleporter", {1480, 256, 40}, {{"URL", Quoted("Demo1#Start")}});
    return map.Text();
}

} // namespace orv::mapgen
