// The package reader on packages written here: compact indices at their edges, a property of
// every type as T3D text, and damaged files refused with the file, the object and the offset.
#include "PackageWriter.h"

#include "Package.h"
#include "Properties.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

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

TEST(PackageReader, CompactIndicesRoundTripAtEveryLength) {
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
}

TEST(PackageReader, EveryPropertyTypeBecomesTheTextTheT3dReaderTakes) {
    for (int version : {61, 69}) { // names and strings zero-terminated, then length-prefixed
        SCOPED_TRACE(version);
        PackageWriter w(version);
        const int32_t engine = w.Import("Core", "Package", 0, "Engine");
        const int32_t texture = w.Import("Engine", "Texture", w.Import("Core", "Package", w.Import("Core", "Package", 0, "Ships"), "Hulls"), "Plate");
        const int32_t cls = w.Import("Core", "Class", engine, "Light");
        const int32_t level = w.Export(w.Class("Level"), 0, "MyLevel", Bytes());
        const Bytes str = (version >= 64 ? Bytes().Index(4) : Bytes()).U8('a').U8('b').U8('c').U8(0);
        const std::vector<std::tuple<std::string, uint8_t, Bytes, std::string, std::string>> tags = {
            {"LightHue", 1, Bytes().U8(200), "", "200"}, {"Count", 2, Bytes().I32(-7), "", "-7"},
            {"Radius", 4, Bytes().F32(2.5f), "", "2.500000"}, {"Skin", 5, Bytes().Index(texture), "", "Texture'Ships.Hulls.Plate'"},
            {"Owner", 5, Bytes().Index(level), "", "Level'MyLevel'"}, {"Target", 5, Bytes().Index(0), "", "None"},
            {"Tag", 6, Bytes().Index(w.Name("Door1")), "", "\"Door1\""},
            {"OldText", 7, Bytes().U8('H').U8('i').U8(0).U8('x'), "", "\"Hi\""}, {"Kind", 8, Bytes().Index(cls), "", "Class'Engine.Light'"},
            {"List", 9, Bytes().Index(2).I32(1).I32(2), "", "<none>"},
            {"Location", 10, Bytes().Vec({1, -2, 3.5f}), "Vector", "(X=1.000000,Y=-2.000000,Z=3.500000)"},
            {"Rotation", 10, Bytes().I32(16384).I32(-5).I32(0), "Rotator", "(Pitch=16384,Yaw=-5,Roll=0)"},
            {"Colour", 10, Bytes().U8(1).U8(2).U8(3).U8(4), "Color", "(R=1,G=2,B=3,A=4)"},
            {"DrawScale3D", 10, Bytes().Vec({1, 2, 3}).F32(0.5f).U8(5), "Scale",
             "(Scale=(X=1.000000,Y=2.000000,Z=3.000000),SheerRate=0.500000,SheerAxis=5)"},
            {"Region", 10, Bytes().Index(level).I32(-1).U8(3), "PointRegion", "(Zone=Level'MyLevel',iLeaf=-1,ZoneNumber=3)"},
            {"Secret", 10, Bytes().I32(1).I32(2), "Unknown", "<none>"}, {"Velocity", 11, Bytes().Vec({0, 0, -1}), "", "(X=0.000000,Y=0.000000,Z=-1.000000)"},
            {"Turn", 12, Bytes().I32(1).I32(2).I32(3), "", "(Pitch=1,Yaw=2,Roll=3)"}, {"Title", 13, str, "", "\"abc\""},
            {"Lookup", 14, Bytes().U8(0), "", "<none>"},
            {"Long", 2, Bytes().Raw(std::vector<uint8_t>(20, 1)), "", "<none>"}, // an int of 20 bytes: its size in a byte
            {"Big", 9, Bytes().Raw(std::vector<uint8_t>(300, 0)), "", "<none>"},  // its size in a word
        };
        Bytes b;
        for (const auto& [name, type, value, structName, text] : tags) {
            w.Tag(b, name, type, value, 0, structName);
        }
        w.BoolTag(b, "bOn", true);
        w.BoolTag(b, "bOff", false);
        for (int32_t index : {1, 200, 70000}) {
            w.Tag(b, "Slot", 2, Bytes().I32(index), index);
        }
        w.EndTags(b);
        b.U8(0xEE); // native data after the properties
        w.Export(cls, level, "Light3", b);
        const Package p = Package::FromBytes("props.unr", w.Write());
        ObjectReader r = p.OpenExport(1);
        const PropertyList list = PropertyList::Read(r);
        EXPECT_EQ(r.U8(), 0xEE) << "the reader ends just after None";
        ASSERT_EQ(list.Tags().size(), tags.size() + 5);
        for (size_t i = 0; i < tags.size(); ++i) {
            EXPECT_EQ(list.Tags()[i].Name, std::get<0>(tags[i]));
            EXPECT_EQ(PropertyText(p, list.Tags()[i]).value_or("<none>"), std::get<4>(tags[i])) << std::get<0>(tags[i]);
        }
        EXPECT_EQ(list.Find("Big")->Size, 300u);
        EXPECT_TRUE(list.Bool("bOn"));
        EXPECT_FALSE(list.Bool("bOff", true));
        for (int32_t index : {1, 200, 70000}) {
            ASSERT_NE(list.Find("Slot", index), nullptr) << index;
            EXPECT_EQ(ValueReader(p, *list.Find("Slot", index)).I32(), index);
        }
        EXPECT_EQ(list.Object(p, "Skin"), texture);
        EXPECT_EQ(RefusalOf([&] { list.Int(p, "Radius"); }).find("props.unr: property Radius has an unexpected type"), 0u);
    }
}

TEST(PackageReader, DamagedFilesAreRefusedNamingFileObjectAndOffset) {
    using ObjectDamage = std::function<void(PackageWriter&, Bytes&)>;
    using FileDamage = std::function<void(std::vector<uint8_t>&)>;
    const ObjectDamage none = [](PackageWriter& w, Bytes& b) { w.EndTags(b); };
    const FileDamage keep = [](std::vector<uint8_t>&) {};
    const std::vector<std::tuple<ObjectDamage, FileDamage, std::string>> cases = {
        {none, [](auto& f) { f[0] = 0; }, "bad.u: not an Unreal package (no package tag) (header, offset 0)"},
        {none, [](auto& f) { f[4] = 60; }, "bad.u: package version 60 is not one of 61 to 69 (header, offset 4)"},
        {none, [](auto& f) { f.resize(20); }, "bad.u: data ends early (header, offset 20)"},
        {none, [](auto& f) { f[13] = 0xFF; }, "bad.u: name table out of range"},
        {none, [](auto& f) { f.back() = 0x3F; }, "bad.u: export 0 (Thing) lies outside the file (export table, offset"},
        {[](PackageWriter& w, Bytes& b) { w.Tag(b, "Owner", 5, Bytes().Index(40)); w.EndTags(b); }, keep,
         "bad.u: object reference 40 out of range (property Owner, offset"},
        {[](PackageWriter&, Bytes& b) { b.Index(500); }, keep, "bad.u: name index 500 out of range (object Thing, offset 64)"},
        // Compact indices: 2^31 as a positive number, a value past 32 bits, one cut short where it ends.
        {[](PackageWriter&, Bytes& b) { b.Raw({0x40, 0x80, 0x80, 0x80, 0x10}); }, keep, "bad.u: compact index out of range (object Thing, offset 64)"},
        {[](PackageWriter&, Bytes& b) { b.Raw({0x40, 0x80, 0x80, 0x80, 0x80}); }, keep, "bad.u: compact index out of range (object Thing, offset 64)"},
        {[](PackageWriter&, Bytes& b) { b.Raw({0x7F, 0xFF}); }, keep, "bad.u: data ends early (object Thing, offset 66)"},
        {[](PackageWriter& w, Bytes& b) { b.Index(w.Name("Big")).U8(0x72).I32(99); }, keep,
         "bad.u: property Big runs past the object's end (object Thing, offset"},
        {[](PackageWriter& w, Bytes& b) { w.Tag(b, "Hue", 1, Bytes().U8(1)); }, keep, "bad.u: data ends early (object Thing, offset"},
    };
    for (const auto& [object, damage, expected] : cases) {
        SCOPED_TRACE(expected);
        PackageWriter w;
        Bytes bytes;
        object(w, bytes);
        w.Export(0, 0, "Thing", bytes);
        std::vector<uint8_t> file = w.Write();
        damage(file);
        const std::string why = RefusalOf([&] {
            const Package p = Package::FromBytes("bad.u", file);
            ObjectReader r = p.OpenExport(0);
            const PropertyList list = PropertyList::Read(r);
            for (const PropertyTag& tag : list.Tags()) {
                PropertyText(p, tag);
            }
        });
        EXPECT_EQ(why.find(expected), 0u) << why;
    }
}

} // namespace
} // namespace orv
