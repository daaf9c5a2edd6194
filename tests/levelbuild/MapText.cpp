// Test maps and the checks every compiled level must pass.
#include "MapText.h"

#include "content/LevelModel.h"
#include "content/Resources.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace orv::test {

namespace {

std::string VectorText(const Vector& v) { return FormatFloat(v.X) + "," + FormatFloat(v.Y) + "," + FormatFloat(v.Z); }

} // namespace

std::vector<Polygon> BoxFaces(const Vector& min, const Vector& max) {
    const Vector c = (min + max) * 0.5f, h = (max - min) * 0.5f;
    const Vector x{h.X, 0, 0}, y{0, h.Y, 0}, z{0, 0, h.Z};
    // For each face: centre offset and two in-face half axes u, v with u x v pointing out.
    const Vector faces[6][3] = {{x, y, z}, {-x, z, y}, {y, z, x}, {-y, x, z}, {z, x, y}, {-z, y, x}};
    std::vector<Polygon> out;
    for (const auto& f : faces) {
        const Vector centre = c + f[0], u = f[1], v = f[2];
        out.push_back({centre - u - v, centre + u - v, centre + u + v, centre - u + v});
    }
    return out;
}

std::string PolygonText(const Polygon& vertices, const std::string& texture, uint32_t flags) {
    const Vector n = Normal(Cross(vertices[1] - vertices[0], vertices[2] - vertices[0]));
    const Vector u = Normal(vertices[1] - vertices[0]);
    const Vector v = Cross(n, u);
    std::string text = "          Begin Polygon";
    if (!texture.empty()) {
        text += " Texture=" + texture;
    }
    text += " Flags=" + std::to_string(static_cast<int32_t>(flags)) + " Link=0\n";
    text += "             Origin   " + VectorText(vertices[0]) + "\n";
    text += "             Normal   " + VectorText(n) + "\n";
    text += "             TextureU " + VectorText(u) + "\n";
    text += "             TextureV " + VectorText(v) + "\n";
    for (const Vector& p : vertices) {
        text += "             Vertex   " + VectorText(p) + "\n";
    }
    return text + "          End Polygon\n";
}

std::string BrushText(const std::string& name, const std::string& csgOper, const std::vector<Polygon>& polygons,
                      const std::vector<std::string>& properties, const std::string& texture) {
    std::string text = "Begin Actor Class=Brush Name=" + name + "\n";
    if (!csgOper.empty()) {
        text += "     CsgOper=" + csgOper + "\n";
    }
    for (const std::string& p : properties) {
        text += "     " + p + "\n";
    }
    text += "    Begin Brush Name=Model" + name + "\n       Begin PolyList\n";
    for (const Polygon& p : polygons) {
        text += PolygonText(p, texture);
    }
    return text + "       End PolyList\n    End Brush\nEnd Actor\n";
}

std::string BoxBrush(const std::string& name, const std::string& csgOper, const Vector& min, const Vector& max,
                     const std::vector<std::string>& properties, const std::string& texture) {
    return BrushText(name, csgOper, BoxFaces(min, max), properties, texture);
}

std::string ActorText(const std::string& className, const std::string& name, const Vector& location) {
    return "Begin Actor Class=" + className + " Name=" + name + "\n     Location=(X=" + FormatFloat(location.X) +
           ",Y=" + FormatFloat(location.Y) + ",Z=" + FormatFloat(location.Z) + ")\nEnd Actor\n";
}

std::string MapText(const std::vector<std::string>& actors) {
    std::string text = "Begin Map\n" + ActorText("LevelInfo", "LevelInfo0", {0, 0, 0});
    for (const std::string& a : actors) {
        text += a;
    }
    return text + "End Map\n";
}

CompiledLevel Compile(const std::string& t3d) {
    LevelBuildOptions options;
    options.Progress = false;
    return CompileMap(ParseMap(t3d, "Test.t3d"), options);
}

int ModelZoneAt(const LevelModel& model, const Vector& p) {
    int node = 0;
    while (true) {
        const BspNode& n = model.Nodes[node];
        const bool front = n.NodePlane.Distance(p) >= 0.0f;
        const int child = front ? n.Front : n.Back;
        if (child < 0) {
            return front ? n.SecondZone : n.FirstZone;
        }
        node = child;
    }
}

void ExpectSoundLevel(const CompiledLevel& level, int samples) {
    const LevelModel& model = level.Model;
    ASSERT_FALSE(model.Nodes.IsEmpty());
    int triangles = 0;
    for (int i = 0; i < model.Nodes.Num(); ++i) {
        const BspNode& node = model.Nodes[i];
        ASSERT_GE(node.NumVertices, 3) << "node " << i;
        ASSERT_LE(node.NumVertices, kMaxNodeVertices) << "node " << i;
        triangles += node.NumVertices - 2;
        Winding w;
        for (int v = 0; v < node.NumVertices; ++v) {
            w.push_back(DVector(model.Points[model.VertexPool[node.FirstVertex + v]]));
        }
        const DPlane plane{DVector(node.NodePlane.Normal), node.NodePlane.W};
        EXPECT_LE(WindingPlaneError(w, plane), 0.01) << "node " << i;
        EXPECT_TRUE(WindingIsConvex(w, plane.Normal, 0.01)) << "node " << i;
        EXPECT_GT(Dot(WindingAreaNormal(w), plane.Normal), 0.0) << "node " << i << " is wound against its plane";
        EXPECT_LT(Dot(DVector(model.Surfaces[node.Surface].Normal), plane.Normal), -0.999) << "node " << i;
    }

    // No two node polygons on one plane facing one way overlap: nothing is drawn twice.
    for (size_t i = 0; i < level.Tree.Nodes.size(); ++i) {
        for (int c = level.Tree.Nodes[i].Coplanar; c >= 0; c = level.Tree.Nodes[static_cast<size_t>(c)].Coplanar) {
            const TreeNode& a = level.Tree.Nodes[i];
            const TreeNode& b = level.Tree.Nodes[static_cast<size_t>(c)];
            if (Dot(a.Plane.Normal, b.Plane.Normal) < 0.99) {
                continue;
            }
            Winding overlap = a.Points;
            for (size_t k = 0; k < b.Points.size() && !overlap.empty(); ++k) {
                const DVector inward =
                    Normalized(Cross(b.Plane.Normal, b.Points[(k + 1) % b.Points.size()] - b.Points[k]));
                overlap = ClipWinding(overlap, {inward, Dot(inward, b.Points[k])}, 0.01, true);
            }
            EXPECT_LT(overlap.size() < 3 ? 0.0 : WindingArea(overlap), 1.0) << "nodes " << i << " and " << c;
        }
    }

    LevelModel loaded;
    LoadLevelModelFromMemory(loaded, "Test.bsp", WriteLevelModel(model), [](std::string_view) { return nullptr; });
    EXPECT_EQ(loaded.Nodes.Num(), model.Nodes.Num());
    Array<WorldTriangle> world;
    BuildWorldTriangles(loaded, world);
    EXPECT_EQ(world.Num(), triangles);

    Bounds box;
    for (const BrushSolid& b : level.Brushes) {
        box.Add(b.Box);
    }
    box.Min = box.Min - DVector{64, 64, 64};
    box.Max = box.Max + DVector{64, 64, 64};
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int checked = 0, mismatches = 0;
    for (int i = 0; i < samples; ++i) {
        const DVector p{box.Min.X + (box.Max.X - box.Min.X) * unit(random),
                        box.Min.Y + (box.Max.Y - box.Min.Y) * unit(random),
                        box.Min.Z + (box.Max.Z - box.Min.Z) * unit(random)};
        bool nearFace = false;
        for (const BrushSolid& b : level.Brushes) {
            if (!b.Box.Contains(p, 1.0)) {
                continue;
            }
            for (const BrushFace& f : b.Faces) {
                nearFace |= std::fabs(f.Plane.Distance(p)) < 1.0;
            }
        }
        if (nearFace) {
            continue;
        }
        ++checked;
        const bool solid = level.BrushesSaySolid(p);
        const int zone = level.Tree.Leaves[static_cast<size_t>(level.Tree.LeafAt(p))].Zone;
        const bool agree = level.IsSolid(p) == solid && ModelZoneAt(model, p.ToFloat()) == zone && (zone == 0) == solid;
        if (!agree && ++mismatches <= 5) {
            ADD_FAILURE() << "at (" << p.X << ", " << p.Y << ", " << p.Z << ") the brushes say " << solid
                          << ", the tree " << level.IsSolid(p) << " (zone " << zone << "), the file's zone "
                          << ModelZoneAt(model, p.ToFloat());
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(checked, samples / 2);
}

} // namespace orv::test
