// The package reader on packages written here: compact indices at their edges, a property of
// every type as T3D text, and damaged files refused with the file, the object and the offset.
#include "PackageWriter.h"

#include "Package.h"
#include "Properties.h"

#include <gtest/gtest.h>

#include <climits>

namespace orv {
namespace {

using test::Bytes;
using test::PackageWriter;

std::string RefusalOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const ImportError& e) {
        return e.Message;
    }
    return "<accepted>";
}

TEST(PackageReader, CompactIndicesRoundTripAtEveryLengthAndRefuseOverflow) {
    const std::vector<int32_t> values = {0, 1, -1, 63, -63, 64, -64, 8191, 8192, -8192, 1048575, 1048576,
                                         134217727, 134217728, INT_MAX, -INT_MAX, INT_MIN};
    PackageWriter w;
    Bytes data;
    for (int32_t v : values) {
        data.Index(v);
    }
    w.Export(0, 0, "Numbers", data);
    const Package p = Package::FromBytes("numbers.u", w.Write());
    ObjectReader r = p.OpenExport(0);
    for (int32_t v : values) {
        EXPECT_EQ(r.Index(), v);
    }
    EXPECT_EQ(r.Remaining(), 0u);

    // 2^31 as a positive number, a sixth byte, and an index cut short (refused where it ends).
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> bad = {
        {{0x40, 0x80, 0x80, 0x80, 0x10}, "compact index out of range (object Bad, offset 64)"},
        {{0x40, 0x80, 0x80, 0x80, 0x80}, "compact index out of range (object Bad, offset 64)"},
        {{0x7F, 0xFF}, "data ends early (object Bad, offset 66)"},
    };
    for (const auto& [bytes, expected] : bad) {
        PackageWriter b;
        b.Export(0, 0, "Bad", Bytes().Raw(bytes));
        const Package q = Package::FromBytes("bad.u", b.Write());
        ObjectReader br = q.OpenExport(0);
        EXPECT_EQ(RefusalOf([&] { br.Index(); }), "bad.u: " + expected);
    }
}

TEST(PackageReader, EveryPropertyTypeBecomesTheTextTheT3dReaderTakes) {
    for (int version : {61, 69}) {
        SCOPED_TRACE(version);
        PackageWriter w(version);
        const int32_t engine = w.Import("Core", "Package", 0, "Engine");
        const int32_t group = w.Import("Core", "Package", w.Import("Core", "Package", 0, "Ships"), "Hulls");
        const int32_t texture = w.Import("Engine", "Texture", group, "Plate");
        const int32_t cls = w.Import("Core", "Class", engine, "Light");
        const int32_t level = w.Export(w.Import("Core", "Class", engine, "Level"), 0, "MyLevel", Bytes());
        Bytes b;
        w.Tag(b, "LightHue", 1, Bytes().U8(200));
        w.Tag(b, "Count", 2, Bytes().I32(-7));
        w.BoolTag(b, "bOn", true);
        w.BoolTag(b, "bOff", false);
        w.Tag(b, "Radius", 4, Bytes().F32(2.5f));
        w.Tag(b, "Skin", 5, Bytes().Index(texture));
        w.Tag(b, "Owner", 5, Bytes().Index(level));
        w.Tag(b, "Target", 5, Bytes().Index(0));
        w.Tag(b, "Tag", 6, Bytes().Index(w.Name("Door1")));
        Bytes fixed;
        for (char c : std::string("Hi\0junk", 7)) {
            fixed.U8(uint8_t(c));
        }
        w.Tag(b, "OldText", 7, fixed);
        w.Tag(b, "Kind", 8, Bytes().Index(cls));
        w.Tag(b, "List", 9, Bytes().Index(2).I32(1).I32(2));
        w.Tag(b, "Location", 10, Bytes().Vec({1, -2, 3.5f}), 0, "Vector");
        w.Tag(b, "Rotation", 10, Bytes().I32(16384).I32(-5).I32(0), 0, "Rotator");
        w.Tag(b, "Colour", 10, Bytes().U8(1).U8(2).U8(3).U8(4), 0, "Color");
        w.Tag(b, "DrawScale3D", 10, Bytes().Vec({1, 2, 3}).F32(0.5f).U8(5), 0, "Scale");
        w.Tag(b, "Region", 10, Bytes().Index(level).I32(-1).U8(3), 0, "PointRegion");
        w.Tag(b, "Secret", 10, Bytes().I32(1).I32(2), 0, "Unknown");
        w.Tag(b, "Velocity", 11, Bytes().Vec({0, 0, -1}));
        w.Tag(b, "Turn", 12, Bytes().I32(1).I32(2).I32(3));
        Bytes str;
        if (version >= 64) {
            str.Index(4);
        }
        str.U8('a').U8('b').U8('c').U8(0);
        w.Tag(b, "Title", 13, str);
        w.Tag(b, "Lookup", 14, Bytes().U8(0));
        w.Tag(b, "Long", 2, Bytes().I32(300).I32(0).I32(0).I32(0).I32(0)); // a 20-byte value: size in a byte
        w.Tag(b, "Big", 9, Bytes().Raw(std::vector<uint8_t>(300, 0)));     // size in a word
        w.Tag(b, "Slot", 2, Bytes().I32(5), 1);
        w.Tag(b, "Slot", 2, Bytes().I32(6), 200);
        w.Tag(b, "Slot", 2, Bytes().I32(7), 70000);
        w.EndTags(b);
        b.U8(0xEE); // native data after the properties
        w.Export(cls, level, "Light3", b);
        const Package p = Package::FromBytes("props.unr", w.Write());
        ObjectReader r = p.OpenExport(1);
        const PropertyList list = PropertyList::Read(r);
        EXPECT_EQ(r.U8(), 0xEE) << "the reader ends just after None";

        const std::vector<std::pair<std::string, std::string>> expected = {
            {"LightHue", "200"},
            {"Count", "-7"},
            {"bOn", "True"},
            {"bOff", "False"},
            {"Radius", "2.500000"},
            {"Skin", "Texture'Ships.Hulls.Plate'"},
            {"Owner", "Level'MyLevel'"},
            {"Target", "None"},
            {"Tag", "\"Door1\""},
            {"OldText", "\"Hi\""},
            {"Kind", "Class'Engine.Light'"},
            {"List", "<none>"},
            {"Location", "(X=1.000000,Y=-2.000000,Z=3.500000)"},
            {"Rotation", "(Pitch=16384,Yaw=-5,Roll=0)"},
            {"Colour", "(R=1,G=2,B=3,A=4)"},
            {"DrawScale3D", "(Scale=(X=1.000000,Y=2.000000,Z=3.000000),SheerRate=0.500000,SheerAxis=5)"},
            {"Region", "(Zone=Level'MyLevel',iLeaf=-1,ZoneNumber=3)"},
            {"Secret", "<none>"},
            {"Velocity", "(X=0.000000,Y=0.000000,Z=-1.000000)"},
            {"Turn", "(Pitch=1,Yaw=2,Roll=3)"},
            {"Title", "\"abc\""},
            {"Lookup", "<none>"},
            {"Long", "<none>"},
            {"Big", "<none>"},
        };
        ASSERT_EQ(list.Tags().size(), expected.size() + 3);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(list.Tags()[i].Name, expected[i].first);
            EXPECT_EQ(PropertyText(p, list.Tags()[i]).value_or("<none>"), expected[i].second) << expected[i].first;
        }
        EXPECT_EQ(list.Tags()[22].Size, 20u);
        EXPECT_EQ(list.Tags()[23].Size, 300u);
        for (auto [index, value] : {std::pair{1, 5}, {200, 6}, {70000, 7}}) {
            const PropertyTag* slot = list.Find("Slot", index);
            ASSERT_NE(slot, nullptr) << index;
            EXPECT_EQ(ValueReader(p, *slot).I32(), value);
        }
        EXPECT_EQ(list.Object(p, "Skin"), texture);
        EXPECT_TRUE(list.Bool("bOn"));
        EXPECT_EQ(RefusalOf([&] { list.Int(p, "Radius"); }).find("props.unr: property Radius has an unexpected type"), 0u);
    }
}

// A package with one object whose bytes (or tables) a case damages.
struct Damage {
    const char* What;
    std::function<void(PackageWriter&, Bytes&)> Object;
    std::function<void(std::vector<uint8_t>&)> File;
    const char* Expected;
};

TEST(PackageReader, DamagedFilesAreRefusedNamingFileObjectAndOffset) {
    auto none = [](PackageWriter&, Bytes&) {};
    auto keep = [](std::vector<uint8_t>&) {};
    const std::vector<Damage> cases = {
        {"tag", none, [](std::vector<uint8_t>& f) { f[0] = 0; }, "bad.u: not an Unreal package (no package tag) (header, offset 0)"},
        {"old version", none, [](std::vector<uint8_t>& f) { f[4] = 60; }, "bad.u: package version 60 is not one of 61 to 69 (header, offset 4)"},
        {"new version", none, [](std::vector<uint8_t>& f) { f[4] = 70; }, "bad.u: package version 70 is not one of 61 to 69"},
        {"short header", none, [](std::vector<uint8_t>& f) { f.resize(20); }, "bad.u: data ends early (header, offset 20)"},
        {"name table", none, [](std::vector<uint8_t>& f) { f[12] = 0xFF; f[13] = 0xFF; }, "bad.u: name table out of range"},
        {"export outside", [](PackageWriter& w, Bytes& b) { w.EndTags(b); }, [](std::vector<uint8_t>& f) { f.back() = 0x3F; },
         "bad.u: export 0 (Thing) lies outside the file (export table, offset"},
        {"object reference", [](PackageWriter& w, Bytes& b) { w.Tag(b, "Owner", 5, Bytes().Index(40)); w.EndTags(b); },
         keep, "bad.u: object reference 40 out of range (property Owner, offset"},
        {"name index", [](PackageWriter& w, Bytes& b) { b.Index(500); (void)w; }, keep,
         "bad.u: name index 500 out of range (object Thing, offset"},
        {"past the end", [](PackageWriter& w, Bytes& b) { b.Index(w.Name("Big")).U8(0x72).I32(99); }, keep,
         "bad.u: property Big runs past the object's end (object Thing, offset"},
        {"no None", [](PackageWriter& w, Bytes& b) { w.Tag(b, "Hue", 1, Bytes().U8(1)); }, keep,
         "bad.u: data ends early (object Thing, offset"},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.What);
        PackageWriter w;
        Bytes object;
        c.Object(w, object);
        w.Export(0, 0, "Thing", object);
        std::vector<uint8_t> file = w.Write();
        c.File(file);
        const std::string why = RefusalOf([&] {
            const Package p = Package::FromBytes("bad.u", file);
            ObjectReader r = p.OpenExport(0);
            const PropertyList list = PropertyList::Read(r);
            for (const PropertyTag& tag : list.Tags()) {
                PropertyText(p, tag);
            }
        });
        EXPECT_NE(why.find(c.Expected), std::string::npos) << why;
    }
}

} // namespace
} // namespace orv
