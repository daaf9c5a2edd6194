// The compiler's T3D reader: brush polygons kept, the engine's line rules, the fatal parse errors.
#include "MapReader.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(MapReader, ReadsBrushPolygonsAndActorProperties) {
    const std::string text = R"(Begin Map
; a comment line
   BEGIN ACTOR CLASS=Brush NAME=Brush7
     CsgOper=CSG_Add
     Location=(X=1.5,Y=2,Z=-3)
     Location=(X=4,Y=5,Z=6)
	Begin Brush Name=Model7
       Begin PolyList
          Begin Polygon Item=OUTSIDE Texture=rClfBsB2 Flags=-1073741696 Link=0
             Origin   +00001.000000,+00002.000000,+00003.000000
             Normal   +00000.000000,+00000.000000,+00001.000000
             TextureU +00001.000000,+00000.000000,+00000.000000
             TextureV +00000.000000,+00001.000000,+00000.000000
             Pan      U=12 V=-3
             Vertex   -00064.000000,-00064.000000,+00000.000000
             Vertex   +00064.000000,-00064.000000,+00000.000000
             Vertex	+00064.000000,+00064.000000,+00000.000000
          End Polygon   
          Begin Polygon
             Vertex   0,0,0
          END POLYGON
       End PolyList
    End Brush
     Brush=Model'MyLevel.Model7'
End Actor
End Actor
Begin Actor Class=Mover Name=Mover0
          Begin Polygon Texture= Flags=8
             Vertex   1,2,3
          End Polygon
End Actor
Begin Actor Class=Light Name=Light0
     LightBrightness=64
)";
    const MapFile map = ParseMap(text, "Maps\\Test.t3d");
    ASSERT_EQ(map.Actors.size(), 2u); // the light's block never ends
    const MapActor& brush = map.Actors[0];
    EXPECT_EQ(brush.Class, "Brush");
    EXPECT_EQ(brush.Name, "Brush7");
    EXPECT_EQ(brush.Line, 3);
    EXPECT_EQ(brush.Properties.Get("location"), "(X=4,Y=5,Z=6)");
    EXPECT_EQ(brush.Properties.Get("Brush"), "Model'MyLevel.Model7'");
    EXPECT_EQ(brush.Properties.Find("Begin Brush Name"), nullptr);
    ASSERT_EQ(brush.Polygons.size(), 2u);
    const MapPolygon& p = brush.Polygons[0];
    EXPECT_EQ(p.Texture, "rClfBsB2");
    EXPECT_EQ(p.Flags, 0xC0000080u); // written signed, sky bit kept inside a Brush block
    EXPECT_EQ(p.Origin, (Vector{1, 2, 3}));
    EXPECT_EQ(p.PanU, 12);
    EXPECT_EQ(p.PanV, -3);
    ASSERT_EQ(p.Vertices.size(), 3u);
    EXPECT_EQ(p.Vertices[2], (Vector{64, 64, 0}));
    EXPECT_TRUE(brush.Polygons[1].Texture.empty());
    EXPECT_EQ(brush.Polygons[1].Flags, 0u);
    ASSERT_EQ(map.Actors[1].Polygons.size(), 1u);
    EXPECT_EQ(map.Actors[1].Polygons[0].Flags, 8u);
    EXPECT_TRUE(map.Actors[1].Polygons[0].Texture.empty());
}

TEST(MapReader, ParseErrorsAreFatalAndNameThePlace) {
    struct Case {
        const char* Text;
        const char* Message;
        const char* Place;
    };
    const Case cases[] = {
        {"Begin Actor Class=Brush Name=A\nBegin Actor Class=Brush Name=B\n",
         "Parse error: 'Begin Actor' in the middle of another actor.",
         "In Maps\\Bad.t3d, line 2: Begin Actor Class=Brush Name=B"},
        {"Begin Polygon\n  Begin Polygon Texture=X\n", "Parse error: 'Begin Polygon' in the middle of another polygon",
         "In Maps\\Bad.t3d, line 2: Begin Polygon Texture=X"},
        {"\n\n   End Polygon  \n", "Parse error: 'End Polygon' without matching 'Begin Polygon'",
         "In Maps\\Bad.t3d, line 3: End Polygon"},
        {"Begin Polygon\nOrigin 1,2,3\nVertex 1,2\n", "Parse error: bad line 3 of Maps\\Bad.t3d: Vertex 1,2", nullptr},
        {"Begin Polygon\nNormal\n", "Parse error: bad line 2 of Maps\\Bad.t3d: Normal", nullptr},
        {"Begin Actor Class=Brush\n", "Parse error: bad line 1 of Maps\\Bad.t3d: Begin Actor Class=Brush", nullptr},
    };
    for (const Case& c : cases) {
        test::LogCapture log;
        EXPECT_EQ(test::CatchFatal([&] { ParseMap(c.Text, "Maps\\Bad.t3d"); }), c.Message) << c.Text;
        if (c.Place) {
            EXPECT_TRUE(log.Contains(c.Place)) << c.Text;
        }
    }
    EXPECT_EQ(test::CatchFatal([] { ReadMapFile("/nonexistent/Missing.t3d"); }),
              "Cannot read map file /nonexistent/Missing.t3d");
}

} // namespace
} // namespace orv
