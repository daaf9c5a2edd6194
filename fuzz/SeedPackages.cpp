// Writes the package fuzzer's seeds: small packages of every kind the importer converts (a map
// with its level, actors and world model; textures with their palette, fire and water; a sound;
// a song), the map in the oldest and the newest layout, into the folder named on the command line.
#include "import/PackageWriter.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using orv::test::Bytes;
using orv::test::PackageWriter;

PackageWriter MapPackage(int version) {
    PackageWriter w(version);
    const int32_t levelClass = w.Class("Level");
    const int32_t wall = w.Import("Engine", "Texture", w.Import("Core", "Package", 0, "Walls"), "Stone");
    auto actor = [&](const std::string& cls, const std::string& name, const orv::Vector& at, bool light) {
        Bytes b;
        w.Tag(b, "Location", 10, Bytes().Vec(at), 0, "Vector");
        w.Tag(b, "Rotation", 10, Bytes().I32(0).I32(16384).I32(0), 0, "Rotator");
        w.Tag(b, "Tag", 6, Bytes().Index(w.Name(name)));
        if (light) {
            w.Tag(b, "LightBrightness", 1, Bytes().U8(200));
            w.Tag(b, "LightRadius", 1, Bytes().U8(32));
            w.BoolTag(b, "bStatic", true);
        }
        w.EndTags(b);
        return w.Export(w.Class(cls), 0, name, b);
    };
    const int32_t info = actor("LevelInfo", "LevelInfo0", {0, 0, 0}, false);
    const int32_t start = actor("PlayerStart", "PlayerStart0", {64, 0, 40}, false);
    const int32_t lamp = actor("Light", "Light0", {0, 0, 100}, true);

    Bytes model;
    w.EndTags(model);
    model.Raw(std::vector<uint8_t>(25 + 16, 0));                       // bounds and sphere
    model.Index(1).Vec({0, 0, 1});                                      // vectors: the floor's normal
    model.Index(3).Vec({-256, -256, 0}).Vec({256, -256, 0}).Vec({0, 256, 0}); // points
    model.Index(1).Vec({0, 0, 1}).F32(0).Raw(std::vector<uint8_t>(8, 0xFF)).U8(0); // a node: plane, zones, flags
    model.Index(0).Index(0).Index(-1).Index(-1).Index(-1).Index(0).Index(0);        // vertices, surface, children
    model.U8(0).U8(0).U8(3).I32(-1).I32(-1);
    model.Index(1).Index(wall).I32(0).Index(0).Index(0).Index(0).Index(0).Index(-1).Index(0); // a surface
    model.U8(0).U8(0).U8(0).U8(0).Index(0);
    model.Index(3);
    for (int32_t i = 0; i < 3; ++i) {
        model.Index(i).Index(0);
    }
    model.I32(0).I32(0).Index(0);                  // shared sides, no zones, no polygons
    model.Index(0).Index(0).Index(0).Index(0).Index(0); // lightmaps, their bits, bounds, hulls, leaves
    model.Index(1).Index(lamp);                     // the light list
    const int32_t modelRef = w.Export(w.Class("Model"), 0, "Model0", model);

    Bytes level;
    w.EndTags(level);
    level.I32(3).I32(3).Index(info).Index(start).Index(lamp);
    for (const char* part : {"unreal", "", "Seed", ""}) {
        const std::string text(part);
        if (version >= 64) {
            level.Index(int32_t(text.size() + 1));
        }
        for (char c : text) {
            level.U8(uint8_t(c));
        }
        level.U8(0);
    }
    level.Index(0).I32(7777).I32(1).Index(modelRef);
    w.Export(levelClass, 0, "MyLevel", level);
    return w;
}

// Lazy arrays without their end position: the oldest layout, where offsets do not matter.
PackageWriter MediaPackage(int version) {
    PackageWriter w(version);
    Bytes pal;
    w.EndTags(pal);
    pal.Index(256);
    for (int i = 0; i < 256; ++i) {
        pal.U8(uint8_t(i)).U8(uint8_t(255 - i)).U8(uint8_t(i * 7)).U8(0);
    }
    const int32_t palette = w.Export(w.Class("Palette"), 0, "Pal", pal);
    Bytes texture;
    w.Tag(texture, "Palette", 5, Bytes().Index(palette));
    w.BoolTag(texture, "bMasked", true);
    w.EndTags(texture);
    texture.Index(1).Index(4).U8(0).U8(1).U8(2).U8(3).I32(2).I32(2).U8(1).U8(1);
    w.Export(w.Class("Texture"), 0, "Tile", texture);
    Bytes fire;
    w.Tag(fire, "Palette", 5, Bytes().Index(palette));
    w.Tag(fire, "USize", 2, Bytes().I32(32));
    w.Tag(fire, "VSize", 2, Bytes().I32(32));
    w.EndTags(fire);
    fire.Index(1).Index(0).I32(32).I32(32).U8(5).U8(5);
    fire.Index(1).U8(3).U8(200).U8(10).U8(20).U8(1).U8(2).U8(3).U8(4);
    w.Export(w.Class("FireTexture"), 0, "Flame", fire);
    Bytes wet;
    w.Tag(wet, "SourceTexture", 5, Bytes().Index(palette));
    w.Tag(wet, "USize", 2, Bytes().I32(16));
    w.Tag(wet, "VSize", 2, Bytes().I32(16));
    w.EndTags(wet);
    wet.Index(1).Index(0).I32(16).I32(16).U8(4).U8(4);
    w.Export(w.Class("WetTexture"), 0, "Pool", wet);
    Bytes sound;
    w.EndTags(sound);
    sound.Index(w.Name("WAV")).Index(8).Raw({'R', 'I', 'F', 'F', 0, 0, 0, 0});
    w.Export(w.Class("Sound"), 0, "Ping", sound);
    Bytes music;
    w.EndTags(music);
    music.Index(w.Name("it")).Index(4).Raw({'I', 'M', 'P', 'M'});
    w.Export(w.Class("Music"), 0, "Tune", music);
    return w;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (const auto& [name, writer] : {std::pair("map61", MapPackage(61)), {"map69", MapPackage(69)}, {"media61", MediaPackage(61)}}) {
        const std::vector<uint8_t> bytes = writer.Write();
        std::ofstream(std::string(argv[1]) + "/" + name + ".pkg", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    return 0;
}
