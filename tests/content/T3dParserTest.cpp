// The T3D line classifier: keywords, property lines, polygons, fatal errors and real exports.
#include "content/T3dParser.h"

#include "core/Text.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

struct RecordedActor {
    std::string Class, Name;
    std::vector<std::pair<std::string, std::string>> Properties;
    std::vector<T3dPolygon> Polygons;
    bool Ended = false;
};

class RecordingSink : public T3dSink {
public:
    void BeginActor(std::string_view c, std::string_view n) override {
        RecordedActor& a = Actors.emplace_back();
        a.Class = std::string(c);
        a.Name = std::string(n);
    }
    void Property(std::string_view k, std::string_view v) override {
        Actors.back().Properties.emplace_back(std::string(k), std::string(v));
    }
    void Polygon(const T3dPolygon& p) override { Actors.back().Polygons.push_back(p); }
    void EndActor() override { Actors.back().Ended = true; }
    std::vector<RecordedActor> Actors;
};

Texture* const kFallback = reinterpret_cast<Texture*>(0x10);
Texture* const kNamed = reinterpret_cast<Texture*>(0x20);

std::vector<RecordedActor> Parse(std::string_view text, std::vector<std::string>* textures = nullptr) {
    RecordingSink sink;
    ParseT3DText("Maps\\Test.t3d", text, sink, [textures](std::string_view name) -> Texture* {
        if (textures) {
            textures->emplace_back(name);
        }
        return name.empty() ? kFallback : kNamed;
    });
    return sink.Actors;
}

TEST(T3dParser, KeywordsInAnyCaseAndIndentation) {
    const auto actors = Parse("Begin Map\n"
                              "\t\t  BEGIN ACTOR CLASS=Light NAME=MyLight  \r\n"
                              "    ; Location=(X=9) is a comment\n"
                              "     Location=(X=1.000000,Y=-2.000000,Z=3.000000)\n"
                              "     LightBrightness=300\n"
                              "     Tag = spaced\n"
                              "     Event=\n"
                              "     LightBrightness=64\n"
                              "  eNd AcToR\n"
                              "End Map\n");
    ASSERT_EQ(actors.size(), 1u);
    EXPECT_EQ(actors[0].Class, "Light");
    EXPECT_EQ(actors[0].Name, "MyLight");
    EXPECT_TRUE(actors[0].Ended);
    // Later lines with the same key come in order (the actor's list keeps the last one).
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Location", "(X=1.000000,Y=-2.000000,Z=3.000000)"}, {"LightBrightness", "300"}, {"Event", ""},
        {"LightBrightness", "64"}};
    EXPECT_EQ(actors[0].Properties, expected); // "Tag = spaced" has a space before "=": not a property
}

TEST(T3dParser, PolygonsAreKeptDroppedAndRead) {
    std::vector<std::string> textures;
    const auto actors = Parse("Begin Actor Class=Mover Name=Door\n"
                              " Begin Brush Name=Model1\n"
                              "  Begin PolyList\n"
                              "   Begin Polygon Texture=Orvane.Metal.Plate Flags=264 Link=0\n"
                              "    Origin   +00000.000000,+00000.000000,+00000.000000\n"
                              "    Normal   +00000.000000,+00000.000000,+00001.000000\n"
                              "    TextureU +00001.000000,+00000.000000,+00000.000000\n"
                              "    TextureV +00000.000000,+00001.000000,+00000.000000\n"
                              "    Pan      U=12 V=-3\n"
                              "    Vertex   +00000.000000,+00000.000000,+00000.000000\n"
                              "    Vertex\t+00064.000000,+00000.000000,+00000.000000\n"
                              "    Vertex   +00064.000000,+00064.000000,+00000.000000\n"
                              "    Vertex   +00000.000000,+00064.000000,+00000.000000\n"
                              "   End Polygon  \t\n"
                              "   Begin Polygon Texture= Flags=128\n"
                              "    Vertex 0,0,0\n"
                              "   End Polygon\n"
                              "   Begin Polygon Flags=1\n"
                              "   End Polygon\n"
                              "   Begin Polygon Texture= Flags=0\n"
                              "   End Polygon\n"
                              "  End PolyList\n"
                              " End Brush\n"
                              "End Actor\n"
                              "Begin Actor Class=Brush Name=Brush0\n"
                              " Begin Polygon Texture=Orvane.Floor\n"
                              " End Polygon\n"
                              "End Actor\n",
                              &textures);
    ASSERT_EQ(actors.size(), 2u);
    const auto& door = actors[0];
    ASSERT_EQ(door.Polygons.size(), 3u); // the 0x80 polygon is dropped
    const T3dPolygon& quad = door.Polygons[0];
    EXPECT_EQ(quad.Tex, kNamed);
    EXPECT_EQ(quad.Flags, 264u);
    EXPECT_EQ(quad.PanU, 12);
    EXPECT_EQ(quad.PanV, -3);
    EXPECT_EQ(quad.Normal, (Vector{0, 0, 1}));
    ASSERT_EQ(quad.Vertices.Num(), 4);
    EXPECT_EQ(quad.Vertices[1], (Vector{64, 0, 0})); // a tab after the keyword reads as a space
    EXPECT_EQ(door.Polygons[1].Tex, nullptr);        // no "Texture=": no texture
    EXPECT_EQ(door.Polygons[2].Tex, kFallback);      // an empty name: the fallback texture
    EXPECT_TRUE(actors[1].Polygons.empty());         // polygons of Brush blocks are not geometry
    EXPECT_EQ(textures, (std::vector<std::string>{"Orvane.Metal.Plate", "", "", "Orvane.Floor"}));
}

TEST(T3dParser, SyntaxErrorsAreFatalWithTheirTexts) {
    EXPECT_EQ(test::CatchFatal([] { Parse("Begin Actor Class=A Name=A\nBegin Actor Class=B Name=B\n"); }),
              "Parse error: 'Begin Actor' in the middle of another actor.");
    EXPECT_EQ(test::CatchFatal([] { Parse("Begin Actor Class=A Name=A\nBegin Polygon\nBegin Polygon\n"); }),
              "Parse error: 'Begin Polygon' in the middle of another polygon");
    EXPECT_EQ(test::CatchFatal([] { Parse("Begin Actor Class=A Name=A\n  end polygon  \n"); }),
              "Parse error: 'End Polygon' without matching 'Begin Polygon'");
    EXPECT_EQ(test::CatchFatal([] { Parse("Begin Actor Class=A Name=A\nBegin Polygon\n\tVertex 1,2\n"); }),
              "Parse error: bad line 3 of Maps\\Test.t3d: Vertex 1,2");
    EXPECT_EQ(test::CatchFatal([] { Parse("\n\nBegin Actor Class=A\n"); }),
              "Parse error: bad line 3 of Maps\\Test.t3d: Begin Actor Class=A");
    // Lines outside actors and unknown keywords are skipped; an End Actor without an actor too.
    EXPECT_EQ(test::CatchFatal([] { Parse("Foo=1\nEnd Actor\nBegin Surface\nWhatever\n"); }), "<no fatal error>");
}

TEST(T3dParser, TabsWhereKeywordsHaveSpaces) {
    const auto actors = Parse("Begin\tActor Class=Mover Name=Door\n"
                              "Begin\tPolygon\tTexture=Orvane.Metal\tFlags=0\n"
                              "Vertex\t0,0,0\nVertex 64,0,0\nVertex\t64,64,0\n"
                              "End\tPolygon\n"
                              "End\tActor\n");
    ASSERT_EQ(actors.size(), 1u);
    EXPECT_TRUE(actors[0].Ended);
    ASSERT_EQ(actors[0].Polygons.size(), 1u);
    EXPECT_EQ(actors[0].Polygons[0].Vertices.Num(), 3);
    EXPECT_EQ(actors[0].Polygons[0].Tex, kNamed);
}

TEST(T3dParser, FileEndingInsideAnActorAddsNothing) {
    const auto actors = Parse("Begin Actor Class=Light Name=L1\nEnd Actor\nBegin Actor Class=Light Name=L2\nTag=x");
    ASSERT_EQ(actors.size(), 2u);
    EXPECT_TRUE(actors[0].Ended);
    EXPECT_FALSE(actors[1].Ended);
}

// An independent count: "Begin Actor" lines by their Class= word.
std::map<std::string, int> ScanClasses(const std::string& text) {
    std::map<std::string, int> counts;
    for (const std::string& raw : SplitLines(text)) {
        std::string_view line = TrimBlanks(raw);
        if (StartsWithText(line, "begin actor")) {
            std::string_view rest = line.substr(line.find('=') + 1);
            counts[std::string(rest.substr(0, rest.find(' ')))]++;
        }
    }
    return counts;
}

TEST(T3dParser, RealEditorExportsParseCompletely) {
    for (const char* name : {"DM-Liandri.t3d", "DOM-Cinder.t3d", "sample.t3d", "test_map.t3d"}) {
        ORV_PEER_FILE(path, std::string("exports/") + name);
        std::string text;
        ASSERT_TRUE(ReadWholeFile(path.string(), text)) << path;
        std::vector<RecordedActor> actors;
        EXPECT_EQ(test::CatchFatal([&] { actors = Parse(text); }), "<no fatal error>") << name;
        std::map<std::string, int> parsed;
        for (const RecordedActor& a : actors) {
            EXPECT_TRUE(a.Ended) << name << " " << a.Name;
            parsed[a.Class]++;
        }
        EXPECT_EQ(parsed, ScanClasses(text)) << name;
        EXPECT_GT(actors.size(), 0u) << name;
    }
}

} // namespace
} // namespace orv
