// Demo1, "Orvane Halls": a hall with a ramp up to a ledge, an open court under the sky with a lava
// pit, a metal corridor whose marks break a seal, stairs up to a pool room, a lift to a gallery of
// monsters and the way on to Demo2.
//
// Plan (X east, Y north, Z up; floors at Z 0 unless said):
//   court      0..768 x 832..1600, open to the sky 1280 up, a watchtower 1000 high in its north-east
//              corner; the sky room lies far off at (-4000, -4000, 4000)
//   hall       0..768 x 0..768;  ledge along its south wall, glass window and a door north to the court
//   corridor   768..1280 x 320..448, behind a door; stairs on to 1536, rising to Z 128
//   pool room  1536..2304 x 128..768, floor Z 128; lift shaft east of it up to the gallery
//   gallery    2432..2944 x 128..768, floor Z 512; a door east to the exit room 3072..3456
#include "DemoMaps.h"
#include "Shapes.h"

namespace orv::mapgen {

namespace {

const Skin kHall{"Orvane.Tiles.Floor", "Orvane.Stone.DarkWall", "Orvane.Stone.Wall"};
const Skin kCourt{"Orvane.Nature.Grass", "Orvane.Sky.Clouds", "Orvane.Nature.Rock", 0, kSkyPortal, 0, 2.0f};
const Skin kMetal{"Orvane.Metal.Plate", "Orvane.Metal.Plate", "Orvane.Metal.Rust"};
const Skin kStone{"Orvane.Stone.Floor", "Orvane.Stone.DarkWall", "Orvane.Stone.Bricks"};
const Skin kBaths{"Orvane.Tiles.Mosaic", "Orvane.Stone.DarkWall", "Orvane.Stone.Bricks"};
const Skin kWood{"Orvane.Wood.Planks", "Orvane.Wood.Planks", "Orvane.Stone.Wall"};

Properties P(std::initializer_list<std::pair<std::string, std::string>> list) { return Properties(list); }

void Hall(MapWriter& map) {
    map.Comment("The hall: start, ramp and ledge, switchable lamp, pickups.");
    Room(map, {0, 0, 0}, {768, 768, 320}, kHall);
    Ramp(map, {192, 0, 0}, {448, 128, 128}, Rise::PlusX,
         {"Orvane.Stone.Floor", "Orvane.Stone.Floor", "Orvane.Stone.Bricks"});
    Block(map, {448, 0, 0}, {768, 192, 128}, {"Orvane.Stone.Bricks", "Orvane.Wood.Planks", "Orvane.Stone.Bricks"});

    map.Actor("LevelInfo", {32, 32, 300},
              P({{"Title", Quoted("Orvane Halls")},
                 {"Author", Quoted("The Orvane developers")},
                 {"LevelEnterText", Quoted("Welcome to the Orvane Halls")},
                 {"Song", "Music'Emberfall.Emberfall'"},
                 {"AmbientBrightness", "12"},
                 {"AmbientSaturation", "255"}}));
    map.Actor("PlayerStart", {96, 384, 40}, P({{"Rotation", RotatorValue(0, 0, 0)}}));
    map.Actor("TranslatorEvent", {200, 384, 40},
              P({{"Message", "Orvane Halls. Doors, lifts and waters lie ahead; three marks in the metal "
                             "corridor break its seal."}}));

    Light(map, "Light", {384, 384, 280}, 140, 30, 200, 32);
    Light(map, "Light", {128, 640, 200}, 100, 0, 255, 24);
    Light(map, "Light", {640, 640, 260}, 160, 170, 80, 20, P({{"LightType", "LT_Pulse"}, {"LightPeriod", "64"}}));
    map.Actor("AmbientSound", {640, 640, 240},
              P({{"AmbientSound", "Sound'Orvane.Ambient.Hum'"}, {"SoundRadius", "24"}}));
    Light(map, "Spotlight", {300, 200, 300}, 220, 40, 160, 20,
          P({{"Rotation", RotatorValue(-16384, 0, 0)}, {"LightCone", "48"}}));

    // The lamp over the ledge is off until its switch on the ledge is touched.
    Light(map, "TriggerLight", {640, 96, 270}, 180, 40, 120, 12, P({{"Tag", "LedgeLamp"}}));
    map.Actor("Trigger", {520, 96, 168}, P({{"Event", "LedgeLamp"}}));
    map.Actor("DispersionPistol", {700, 96, 144});

    map.Actor("Health", {384, 640, 8});
    map.Actor("NaliFruit", {96, 96, 14});
}

void Court(MapWriter& map) {
    map.Comment("The court under the sky: glass window and door to the hall, lava pit, birds, sky room.");
    Room(map, {0, 832, 0}, {768, 1600, 1280}, kCourt);
    // A watchtower in the north-east corner: a fall from its top lands hard enough to hurt.
    Block(map, {640, 1472, 0}, {768, 1600, 1000}, {"Orvane.Stone.Floor", "Orvane.Stone.Floor", "Orvane.Stone.Bricks"});
    Light(map, "Light", {560, 1536, 1100}, 120, 30, 120, 16);
    Window(map, {256, 768, 96}, {512, 832, 224}, Plain("Orvane.Metal.Plate"), "Orvane.Glass.Window", kAlphaBlend);
    Room(map, {576, 768, 0}, {704, 832, 128}, Plain("Orvane.Metal.Plate"));
    Door(map, {{576, 792, 0}, {704, 808, 128}, 120, "TriggerOpenTimed", "CourtDoor"});
    map.Actor("Trigger", {640, 700, 40}, P({{"Event", "CourtDoor"}}));

    Pool(map, {{448, 1280, -48},
               {640, 1472, 0},
               8,
               {"Orvane.Nature.Rock", "Orvane.Nature.Rock", "Orvane.Nature.Rock"},
               "Orvane.Liquid.LavaWet",
               kAutoUPan,
               "LavaZone",
               P({{"DamagePerSec", "20"}, {"DamageType", "Burned"}})});
    Light(map, "Light", {544, 1376, 64}, 200, 12, 64, 10, P({{"LightEffect", "LE_FireWaver"}}));

    Light(map, "Light", {384, 1216, 480}, 120, 150, 200, 48);
    map.Actor("AmbientSound", {384, 1216, 300},
              P({{"AmbientSound", "Sound'Orvane.Ambient.Wind'"}, {"SoundRadius", "96"}}));
    map.Actor("WavySurfaceInfo", {96, 900, 2}, P({{"SizeX", "8"}, {"SizeY", "8"}}));
    map.Actor("Bird1", {384, 1216, 360}, P({{"CircleRadius", "200"}}));
    map.Actor("Bird1", {300, 1100, 420}, P({{"CircleRadius", "140"}}));
    map.Actor("Manta", {200, 1420, 150});
    map.Actor("GiantManta", {600, 1000, 250});
    map.Actor("Teleporter", {96, 1520, 40}, P({{"URL", Quoted("PoolArrival")}}));

    Room(map, {-4512, -4512, 3488}, {-3488, -3488, 4512}, Plain("Orvane.Sky.Clouds", kUnlit));
    map.Actor("SkyZoneInfo", {-4000, -4000, 4000});
}

void Corridor(MapWriter& map) {
    map.Comment("The metal corridor: a door that opens when bumped, three marks, a counter and what it sets off.");
    Room(map, {768, 320, 0}, {1280, 448, 160}, kMetal);
    Door(map, {{784, 320, 0}, {800, 448, 160}, 152, "BumpOpenTimed", ""});
    Light(map, "Light", {880, 384, 140}, 120, 40, 100, 10, P({{"LightType", "LT_Flicker"}}));
    Light(map, "Light", {1024, 384, 140}, 150, 0, 0, 10, P({{"LightType", "LT_Strobe"}, {"LightPeriod", "32"}}));
    Light(map, "Light", {1200, 384, 120}, 90, 0, 255, 12);

    for (float x : {900.0f, 1020.0f, 1140.0f}) {
        map.Actor("Trigger", {x, 384, 40}, P({{"Event", "SealMark"}, {"bTriggerOnceOnly", "True"}}));
    }
    map.Actor("Counter", {1020, 384, 120}, P({{"Tag", "SealMark"}, {"NumToCount", "3"}, {"Event", "SealBroken"}}));
    map.Actor("SpecialEvent", {1040, 384, 120},
              P({{"Tag", "SealBroken"},
                 {"InitialState", "DisplayMessage"},
                 {"Message", Quoted("The seal breaks: the end of the corridor gives way!")}}));
    map.Actor("Dispatcher", {1060, 384, 120},
              P({{"Tag", "SealBroken"},
                 {"OutEvents(0)", "Tremor"},
                 {"OutDelays(0)", "0.5"},
                 {"OutEvents(1)", "Breach"},
                 {"OutDelays(1)", "2.5"}}));
    map.Actor("SpecialEvent", {1080, 384, 120},
              P({{"Tag", "Tremor"}, {"InitialState", "PlaySoundEffect"}, {"Sound", "Sound'Orvane.Events.Rumble'"}}));
    map.Actor("Earthquake", {1100, 384, 80},
              P({{"Tag", "Tremor"}, {"magnitude", "1500"}, {"duration", "3"}, {"radius", "1200"}}));
    map.Actor("ExplodingWall", {1260, 384, 80}, P({{"Tag", "Breach"}, {"Event", "Blasts"}}));
    map.Actor("ExplosionChain", {1220, 340, 60}, P({{"Tag", "Blasts"}, {"Event", "Blasts2"}}));
    map.Actor("ExplosionChain", {1220, 430, 100}, P({{"Tag", "Blasts2"}, {"Size", "1.5"}}));

    map.Comment("Stairs from the corridor up to the pool room.");
    StairsUpX(map, {1280, 320, 0}, 8, 32, 16, 128, 160, kStone);
    Light(map, "Light", {1420, 384, 220}, 110, 30, 200, 10);
}

void PoolRoom(MapWriter& map) {
    map.Comment("The pool room: water behind a zone portal, a fish, torch, grate, tentacle, music change.");
    Room(map, {1536, 128, 128}, {2304, 768, 448}, kBaths);
    Pool(map, {{1792, 256, -64},
               {2176, 640, 128},
               16,
               Plain("Orvane.Tiles.Mosaic"),
               "Orvane.Liquid.WaterWet",
               kTranslucent | kSmallWavy,
               "WaterZone",
               {}});
    for (int k = 0; k < 5; ++k) {
        const float x = 1792.0f + 24.0f * k;
        Block(map, {x, 256, -64}, {x + 24, 640, 104.0f - 24.0f * k}, Plain("Orvane.Tiles.Mosaic"));
    }
    map.Actor("DevilFish", {2080, 448, 0});
    map.Actor("AmbientSound", {1984, 448, 140},
              P({{"AmbientSound", "Sound'Orvane.Ambient.Water'"}, {"SoundRadius", "32"}}));
    map.Actor("DynamicAmbientSound", {1700, 200, 300});
    Light(map, "Light", {1984, 448, 400}, 150, 140, 60, 24, P({{"LightEffect", "LE_WateryShimmer"}}));
    Light(map, "Light", {1650, 300, 380}, 110, 0, 255, 24);

    // A torch on the north wall: a burning sheet and its wavering light. The sheet shows the
    // whole fire texture once: 128 texels over 64 units, its corner on the texture's grid.
    Face torch = SheetFace({1600, 756, 256}, {1664, 756, 320}, true, "Orvane.Fire.Torch", kTwoSided | kUnlit);
    torch.TexelSize = 0.5f;
    Sheet(map, torch);
    Light(map, "Light", {1632, 720, 288}, 200, 20, 80, 10, P({{"LightEffect", "LE_TorchWaver"}}));

    // A dim alcove behind a grate.
    Window(map, {1920, 768, 192}, {2048, 832, 320}, Plain("Orvane.Stone.DarkWall"), "Orvane.Metal.Grate", kMasked);
    Light(map, "Light", {1984, 816, 256}, 80, 80, 50, 6);

    map.Actor("Tentacle", {1700, 600, 400});
    map.Actor("Teleporter", {1600, 200, 170}, P({{"Tag", "PoolArrival"}}));
    map.Actor("Trigger", {1560, 384, 170}, P({{"Event", "PoolMusic"}}));
    map.Actor("MusicEvent", {1580, 384, 200},
              P({{"Tag", "PoolMusic"}, {"Song", "Music'Undertow.Undertow'"}, {"bOnceOnly", "True"}}));
}

void Gallery(MapWriter& map) {
    map.Comment("The lift up to the gallery, its monsters, and the door to the way out.");
    // The shaft's floor lies under the lift, whose top is flush with the pool room's floor: a
    // player walking on stands on the lift itself, which starts it.
    Room(map, {2304, 320, 112}, {2432, 448, 768}, kStone);
    Lift(map, {2312, 328, 112}, {2424, 440, 128}, 384, 3, "Orvane.Metal.Plate");
    Room(map, {2432, 128, 512}, {2944, 768, 768}, kWood);
    Light(map, "Light", {2688, 448, 720}, 130, 30, 180, 40);
    Light(map, "Light", {2500, 700, 600}, 100, 160, 120, 16, P({{"LightType", "LT_Pulse"}, {"LightPeriod", "96"}}));
    map.Actor("Brute", {2700, 640, 570});
    map.Actor("Skaarj", {2820, 260, 560});
    map.Actor("SkaarjWarrior", {2560, 230, 560});
    map.Actor("Health", {2500, 700, 520});

    Room(map, {2944, 384, 512}, {3072, 512, 640}, Plain("Orvane.Metal.Plate"));
    Door(map, {{2960, 384, 512}, {2976, 512, 640}, 120, "TriggerToggle", "ExitDoor"});
    map.Actor("Trigger", {2880, 448, 552}, P({{"Event", "ExitDoor"}}));

    Room(map, {3072, 256, 512}, {3456, 640, 768}, kHall);
    Light(map, "Light", {3264, 448, 720}, 180, 200, 100, 24, P({{"LightType", "LT_Pulse"}, {"LightPeriod", "40"}}));
    map.Actor("CaveManta", {3200, 320, 640});
    map.Actor("Teleporter", {3400, 448, 552}, P({{"URL", Quoted("Demo2#Start")}}));
}

} // namespace

std::string Demo1() {
    MapWriter map;
    map.Comment("Demo1, made by orvane-mapgen (tools/mapgen). Edit the generator and run it again, or edit here.");
    Hall(map);
    Court(map);
    Corridor(map);
    PoolRoom(map);
    Gallery(map);
    return map.Text();
}

std::vector<DemoMap> DemoMaps() { return {{"Demo1", Demo1()}, {"Demo2", Demo2()}}; }

} // namespace orv::mapgen
