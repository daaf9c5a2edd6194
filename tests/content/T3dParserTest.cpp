// The T3D line classifier: keywords, property lines, every polygon as written, fatal errors that
// name the place, and real exports.
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
    int Line = 0;
    std::vector<std::pair<std::string, std::string>> Properties;
    std::vector<T3dPolygon> Polygons;
    bool Ended = false;
};

class RecordingSink : public T3dSink {
public:
    void BeginActor(std::string_view c, std::string_view n, int line) override {
        Actors.push_back({std::string(c), std::string(n), line, {}, {}, false});
    }
    void Property(std::string_view k, std::string_view v) override { Actors.back().Properties.emplace_back(k, v); }
    void Polygon(T3dPolygon&& p) override { Actors.back().Polygons.push_back(std::move(p)); }
    void EndActor() override { Actors.back().Ended = true; }
    std::vector<RecordedActor> Actors;
};

std::vector<RecordedActor> Parse(std::string_view text) {
    RecordingSink sink;
    ParseT3DText("Maps\\Test.t3d", text, sink);
    return sink.Actors;
}

TEST(T3dParser, KeywordsInAnyCaseAndIndentation) {
    const auto actors = Parse("\t\t  BEGIN ACTOR CLASS=Light NAME=MyLight  \r\n"
                              "    ; Location=(X=9) is a comment\n"
                              "     Location=(X=1.000000,Y=-2.000000,Z=3.000000)\n"
                              "     LightBrightness=300\n"
                              "     Tag = spaced\n"
                              "     Event=\n"
                              "     LightBrightness=64\n"
                              "  eNd AcToR\n"
                              "Begin\tActor Name=NoClass\n"
                              "End\tActor\n"
                              "Begin Actor Class=Light Name=Open\nTag=x");
    ASSERT_EQ(actors.size(), 3u);
    EXPECT_EQ(actors[0].Class + " " + actors[0].Name, "Light MyLight");
    EXPECT_EQ(actors[0].Line, 1);
    EXPECT_TRUE(actors[0].Ended);
    // Later lines with the same key come in order (the actor's list keeps the last one).
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Location", "(X=1.000000,Y=-2.000000,Z=3.000000)"},
        {"LightBrightness", "300"},
        {"Event", ""},
        {"LightBrightness", "64"}};
    EXPECT_EQ(actors[0].Properties, expected); // "Tag = spaced" has a space before "=": not a property
    // A tab where a keyword has its space; no "Class=" gives an actor of no class.
    EXPECT_EQ(actors[1].Class, "");
    EXPECT_TRUE(actors[1].Ended);
    EXPECT_FALSE(actors[2].Ended); // the file ends inside it
}

TEST(T3dParser, EveryPolygonReachesTheSinkAsWritten) {
    const auto actors = Parse("Begin Actor Class=Mover Name=Door\n"
                              "   Begin Polygon Texture=Orvane.Metal.Plate Flags=264 Link=0\n"
                              "    Normal   +00000.000000,+00000.000000,+00001.000000\n"
                              "    Pan      U=12 V=-3\n"
                              "    Vertex   +00000.000000,+00000.000000,+00000.000000\n"
                              "    Vertex\t+00064.000000,+00000.000000,+00000.000000\n"
                              "    Vertex   +00064.000000,+00064.000000,+00000.000000\n"
                              "   End Polygon  \t\n"
                              "   Begin Polygon Texture= Flags=-1073741696\n"
                              "   END POLYGON\n"
                              "   Begin\tPolygon\tTexture=Orvane.Sky\tFlags=3221225600\n"
                              "   End\tPolygon\n"
                              "End Actor\n"
                              "Begin Polygon Texture=Outside\nEnd Polygon\n"
                              "Begin Actor Class=Brush Name=Brush0\n"
                              " Begin Polygon Flags=1\n"
                              " End Polygon\n"
                              "End Actor\n");
    ASSERT_EQ(actors.size(), 2u);
    ASSERT_EQ(actors[0].Polygons.size(), 3u); // sky portals too: the sink decides
    const T3dPolygon& quad = actors[0].Polygons[0];
    EXPECT_EQ(quad.TextureName, "Orvane.Metal.Plate");
    EXPECT_EQ(quad.Flags, 264u);
    EXPECT_EQ(quad.Line, 2);
    EXPECT_EQ(std::pair(quad.PanU, quad.PanV), std::pair(12, -3));
    EXPECT_EQ(quad.Normal, (Vector{0, 0, 1}));
    ASSERT_EQ(quad.Vertices.Num(), 3);
    EXPECT_EQ(quad.Vertices[1], (Vector{64, 0, 0})); // a tab after the keyword reads as a space
    // Flags written signed or unsigned are the same bits; an empty name is not a missing one.
    EXPECT_EQ(actors[0].Polygons[1].Flags, 0xC0000080u);
    EXPECT_EQ(actors[0].Polygons[1].TextureName, "");
    EXPECT_EQ(actors[0].Polygons[2].Flags, 0xC0000080u);
    EXPECT_EQ(actors[0].Polygons[2].TextureName, "Orvane.Sky"); // a tab ends the value
    EXPECT_EQ(actors[0].Polygons[2].Line, 11);
    // The editor's brushes reach the sink too; polygons outside actors do not.
    ASSERT_EQ(actors[1].Polygons.size(), 1u);
    EXPECT_EQ(actors[1].Polygons[0].TextureName, std::nullopt);
    EXPECT_EQ(actors[1].Polygons[0].Flags, 1u);
}

TEST(T3dParser, SyntaxErrorsAreFatalAndNameThePlace) {
    const struct {
        const char* Text;
        const char* Message;
        const char* Place; // the log line before a message that does not name it
    } cases[] = {
        {"Begin Actor Class=A Name=A\nBegin Actor Class=B Name=B\n",
         "Parse error: 'Begin Actor' in the middle of another actor.",
         "In Maps\\Test.t3d, line 2: Begin Actor Class=B Name=B"},
        {"Begin Actor Class=A Name=A\nBegin Polygon\n  Begin Polygon Texture=X\n",
         "Parse error: 'Begin Polygon' in the middle of another polygon",
         "In Maps\\Test.t3d, line 3: Begin Polygon Texture=X"},
        {"\n\n   end polygon  \n", "Parse error: 'End Polygon' without matching 'Begin Polygon'",
         "In Maps\\Test.t3d, line 3: end polygon"},
        {"Begin Actor Class=A Name=A\nBegin Polygon\n\tVertex 1,2\n",
         "Parse error: bad line 3 of Maps\\Test.t3d: Vertex 1,2", nullptr},
        {"Begin Polygon\nNormal\n", "Parse error: bad line 2 of Maps\\Test.t3d: Normal", nullptr},
        {"\n\nBegin Actor Class=A\n", "Parse error: bad line 3 of Maps\\Test.t3d: Begin Actor Class=A", nullptr},
        // Lines outside actors and unknown keywords are skipped; an End Actor without an actor too.
        {"Foo=1\nEnd Actor\nBegin Surface\nWhatever\n", "<no fatal error>", nullptr},
    };
    for (const auto& c : cases) {
        test::LogCapture log;
        EXPECT_EQ(test::CatchFatal([&] { Parse(c.Text); }), c.Message) << c.Text;
        if (c.Place) {
            EXPECT_TRUE(log.Contains(c.Place)) << c.Text;
        }
    }
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
    }
}

} // namespace
} // namespace orv
