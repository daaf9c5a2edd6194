// The T3D line classifier: keywords, property lines, every polygon as written, fatal errors that
// name the place, and real exports.
#include "content/T3dParser.h"

#include "content/ContentTestSupport.h"
#include "core/Numbers.h"
#include "core/Text.h"
#include "core/Vfs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

using Names = std::vector<std::string>;

// Every call of the parser as a line of text, and the polygons.
class RecordingSink : public T3dSink {
public:
    void BeginActor(std::string_view c, std::string_view n, int line) override {
        Calls.push_back("Begin " + std::string(c) + " " + std::string(n) + " @" + std::to_string(line));
    }
    void Property(std::string_view k, std::string_view v) override {
        Calls.push_back(std::string(k) + "=" + std::string(v));
    }
    void Polygon(T3dPolygon&& p) override {
        Calls.push_back("Polygon");
        Polygons.push_back(std::move(p));
    }
    void EndActor() override { Calls.push_back("End"); }
    Names Calls;
    std::vector<T3dPolygon> Polygons;
};

RecordingSink Parse(std::string_view text) {
    RecordingSink sink;
    ParseT3DText("Maps\\Test.t3d", text, sink);
    return sink;
}

TEST(T3dParser, KeywordsInAnyCaseAndIndentation) {
    // Later lines with the same key come in order (the actor's list keeps the last one); "Tag =
    // spaced" has a space before "=" and is no property; a tab where a keyword has its space; no
    // "Class=" gives an actor of no class; the file may end inside an actor.
    EXPECT_EQ(
        Parse("\t\t  BEGIN ACTOR CLASS=Light NAME=MyLight  \r\n"
              "    ; Location=(X=9) is a comment\n"
              "     Location=(X=1.000000,Y=-2.000000,Z=3.000000)\n"
              "     LightBrightness=300\n"
              "     Tag = spaced\n"
              "     Event=\n"
              "     LightBrightness=64\n"
              "  eNd AcToR\n"
              "Begin\tActor Name=NoClass\n"
              "End\tActor\n"
              "Begin Actor Class=Light Name=Open\nTag=x")
            .Calls,
        (Names{"Begin Light MyLight @1", "Location=(X=1.000000,Y=-2.000000,Z=3.000000)", "LightBrightness=300",
               "Event=", "LightBrightness=64", "End", "Begin  NoClass @9", "End", "Begin Light Open @11", "Tag=x"}));
}

TEST(T3dParser, EveryPolygonReachesTheSinkAsWritten) {
    const RecordingSink sink = Parse("Begin Actor Class=Mover Name=Door\n"
                                     "   Begin Polygon Texture=Orvane.Metal.Plate Flags=264 Link=0\n"
                                     "    Normal   +00000.000000,+00000.000000,+00001.000000\n"
                                     "    Pan      U=12 V=-3\n"
                                     "    Vertex   +00000.000000,+00000.000000,+00000.000000\n"
                                     "    Vertex\t+00064.000000,+00000.000000,+00000.000000\n"
                                     "    Vertex   +00064.000000,+00064.000000,-3.4e38\n"
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
    // Sky portals and the editor's brushes reach the sink too; polygons outside actors do not.
    EXPECT_EQ(sink.Calls, (Names{"Begin Mover Door @1", "Polygon", "Polygon", "Polygon", "End",
                                 "Begin Brush Brush0 @16", "Polygon", "End"}));
    // Flags written signed or unsigned are the same bits; an empty name is not a missing one; a
    // tab ends the value.
    auto describe = [](const T3dPolygon& p) {
        return p.TextureName.value_or("<none>") + " " + std::to_string(p.Flags) + " @" + std::to_string(p.Line) +
               " pan " + std::to_string(p.PanU) + " " + std::to_string(p.PanV) + ", " +
               std::to_string(p.Vertices.Num()) + " vertices";
    };
    EXPECT_EQ(test::Lines(sink.Polygons, describe),
              (Names{"Orvane.Metal.Plate 264 @2 pan 12 -3, 3 vertices", " 3221225600 @9 pan 0 0, 0 vertices",
                     "Orvane.Sky 3221225600 @11 pan 0 0, 0 vertices", "<none> 1 @17 pan 0 0, 0 vertices"}));
    EXPECT_EQ(sink.Polygons[0].Normal, (Vector{0, 0, 1}));
    EXPECT_EQ(sink.Polygons[0].Vertices[1], (Vector{64, 0, 0})); // a tab after the keyword reads as a space
    EXPECT_EQ(sink.Polygons[0].Vertices[2], (Vector{64, 64, -kWorldMax})); // clamped to the world
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
        {"Begin Polygon\nVertex 1,NaN,3\n", "Parse error: bad line 2 of Maps\\Test.t3d: Vertex 1,NaN,3", nullptr},
        {"Begin Polygon\nOrigin -inf,0,1e999\n", "Parse error: bad line 2 of Maps\\Test.t3d: Origin -inf,0,1e999", nullptr},
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
        RecordingSink sink;
        EXPECT_EQ(test::CatchFatal([&] { sink = Parse(text); }), "<no fatal error>") << name;
        std::map<std::string, int> parsed;
        int open = 0;
        for (const std::string& call : sink.Calls) {
            if (call.rfind("Begin ", 0) == 0) {
                parsed[call.substr(6, call.find(' ', 6) - 6)]++;
            }
            open += (call.rfind("Begin ", 0) == 0) - (call == "End");
        }
        EXPECT_EQ(open, 0) << name << ": every actor ends";
        EXPECT_EQ(parsed, ScanClasses(text)) << name;
    }
}

} // namespace
} // namespace orv
