// Test maps and the checks every compiled level must pass.
#include "MapText.h"

#include "content/LevelModel.h"
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
    for (const auto& [offset, u, v] : faces) {
        out.push_back({c + offset - u - v, c + offset + u - v, c + offset + u + v, c + offset - u + v});
    }
    return out;
}

std::string BrushText(const std::string& name, const std::string& csgOper, const std::vector<Polygon>& polygons,
                      const std::vector<std::string>& properties, const std::string& texture, uint32_t flags) {
    std::string text =
        "Begin Actor Class=Brush Name=" + name + "\n" + (csgOper.empty() ? "" : "     CsgOper=" + csgOper + "\n");
    for (const std::string& p : properties) {
        text += "     " + p + "\n";
    }
    text += "    Begin Brush Name=Model" + name + "\n       Begin PolyList\n";
    for (const Polygon& p : polygons) {
        const Vector n = Normal(Cross(p[1] - p[0], p[2] - p[0])), u = Normal(p[1] - p[0]);
        // Flags are written signed, as editors do.
        text += "          Begin Polygon Texture=" + texture + " Flags=" + std::to_string(static_cast<int32_t>(flags)) +
                " Link=0\n             Origin   " + VectorText(p[0]) + "\n             Normal   " + VectorText(n) +
                "\n             TextureU " + VectorText(u) + "\n             TextureV " + VectorText(Cross(n, u)) +
                "\n";
        for (const Vector& v : p) {
            text += "             Vertex   " + VectorText(v) + "\n";
        }
        text += "          End Polygon\n";
    }
    return text + "       End PolyList\n    End Brush\nEnd Actor\n";
}

std::string BoxBrush(const std::string& name, const std::string& csgOper, const Vector& min, const Vector& max,
                     const std::vector<std::string>& properties, const std::string& texture, uint32_t flags) {
    return BrushText(name, csgOper, BoxFaces(min, max), properties, texture, flags);
}

std::string ActorText(const std::string& className, const std::string& name, const Vector& location,
                      const std::vector<std::string>& properties) {
    std::string text = "Begin Actor Class=" + className + " Name=" + name +
                       "\n     Location=(X=" + FormatFloat(location.X) + ",Y=" + FormatFloat(location.Y) +
                       ",Z=" + FormatFloat(location.Z) + ")\n";
    for (const std::string& p : properties) {
        text += "     " + p + "\n";
    }
    return text + "End Actor\n";
}

std::string MapText(const std::vector<std::string>& actors) {
    std::string text = "Begin Map\n" + ActorText("LevelInfo", "LevelInfo0", {0, 0, 0});
    for (const std::string& a : actors) {
        text += a;
    }
    return text + "End Map\n";
}

CompiledLevel Compile(const std::string& t3d, int samples) {
    LevelBuildOptions options;
    options.Progress = false;
    CompiledLevel level = CompileMap(ParseMap(t3d, "Test.t3d"), options);
    ExpectSoundLevel(level, samples);
    return level;
}

int ModelZoneAt(const LevelModel& model, const Vector& p) {
    for (int node = 0;;) {
        const BspNode& n = model.Nodes[node];
        const bool front = n.NodePlane.Distance(p) >= 0.0f;
        if ((node = front ? n.Front : n.Back) < 0) {
            return front ? n.SecondZone : n.FirstZone;
        }
    }
}

void ExpectSoundLevel(const CompiledLevel& level, int samples) {
    const LevelModel& model = level.Model;
    ASSERT_FALSE(model.Nodes.IsEmpty());
    for (int i = 0; i < model.Nodes.Num(); ++i) {
        const BspNode& node = model.Nodes[i];
        ASSERT_TRUE(node.NumVertices >= 3 && node.NumVertices <= kMaxNodeVertices) << "node " << i;
        Winding w;
        for (int v = 0; v < node.NumVertices; ++v) {
            w.push_back(DVector(model.Points[model.VertexPool[node.FirstVertex + v]]));
        }
        const DPlane plane{DVector(node.NodePlane.Normal), node.NodePlane.W};
        EXPECT_TRUE(WindingPlaneError(w, plane) <= 0.01 && WindingIsConvex(w, plane.Normal, 0.01) &&
                    Dot(WindingAreaNormal(w), plane.Normal) > 0.0 &&
                    Dot(DVector(model.Surfaces[node.Surface].Normal), plane.Normal) < -0.999)
            << "node " << i << " is off its plane, concave, wound against it or stored facing it";
    }

    // No two node polygons on one plane facing one way overlap: nothing is drawn twice.
    for (size_t i = 0; i < level.Tree.Nodes.size(); ++i) {
        const TreeNode& a = level.Tree.Nodes[i];
        for (int c = a.Coplanar; c >= 0; c = level.Tree.Nodes[static_cast<size_t>(c)].Coplanar) {
            const TreeNode& b = level.Tree.Nodes[static_cast<size_t>(c)];
            Winding overlap = Dot(a.Plane.Normal, b.Plane.Normal) > 0.99 ? a.Points : Winding{};
            for (size_t k = 0; k < b.Points.size() && overlap.size() >= 3; ++k) {
                const DVector inward =
                    Normalized(Cross(b.Plane.Normal, b.Points[(k + 1) % b.Points.size()] - b.Points[k]));
                overlap = ClipWinding(overlap, {inward, Dot(inward, b.Points[k])}, 0.01, true);
            }
            EXPECT_LT(overlap.size() < 3 ? 0.0 : WindingArea(overlap), 1.0) << "nodes " << i << " and " << c;
        }
    }

    // Random points in the brushes' box and 64 units around it.
    Bounds box;
    for (const BrushSolid& b : level.Brushes) {
        box.Add(b.Box);
    }
    std::mt19937 random(7);
    const auto along = [&](double min, double max) {
        return std::uniform_real_distribution(min - 64, max + 64)(random);
    };
    int checked = 0, mismatches = 0;
    for (int i = 0; i < samples; ++i) {
        const DVector p{along(box.Min.X, box.Max.X), along(box.Min.Y, box.Max.Y), along(box.Min.Z, box.Max.Z)};
        bool nearFace = false;
        for (const BrushSolid& b : level.Brushes) {
            for (const BrushFace& f : b.Faces) {
                nearFace |= b.Box.Contains(p, 1.0) && std::fabs(f.Plane.Distance(p)) < 1.0;
            }
        }
        if (nearFace) {
            continue;
        }
        ++checked;
        const bool solid = level.BrushesSaySolid(p);
        const int zone = level.Tree.Leaves[static_cast<size_t>(level.Tree.LeafAt(p))].Zone;
        const int fileZone = ModelZoneAt(model, p.ToFloat());
        if ((level.IsSolid(p) != solid || fileZone != zone || (zone == 0) != solid) && ++mismatches <= 5) {
            ADD_FAILURE() << "at (" << p.X << ", " << p.Y << ", " << p.Z << ") the brushes say " << solid
                          << ", the tree " << level.IsSolid(p) << " (zone " << zone << "), the file's zone "
                          << fileZone;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GE(checked, samples / 2);
}

} // namespace orv::test
