// Surfaces from brush faces.
#include "Surfaces.h"

#include <algorithm>
#include <map>

namespace orv {

namespace {

int16_t Pan(int32_t pan) { return static_cast<int16_t>(std::clamp<int32_t>(pan, INT16_MIN, INT16_MAX)); }

} // namespace

DVector StoredSurfaceNormal(const DVector& visibleNormal) { return -visibleNormal; }

std::vector<int> MakeSurfaces(const std::vector<BrushSolid>& brushes, const std::vector<CsgFace>& faces,
                              TextureNames& textures, Array<Surface>& surfaces) {
    std::vector<int> index(faces.size(), -1);
    std::map<std::pair<int, int>, int> byFace;
    for (size_t i = 0; i < faces.size(); ++i) {
        const CsgFace& face = faces[i];
        const auto key = std::make_pair(face.Brush, face.Face);
        const auto found = byFace.find(key);
        if (found != byFace.end()) {
            index[i] = found->second;
            continue;
        }
        const BrushFace& source = brushes[static_cast<size_t>(face.Brush)].Faces[static_cast<size_t>(face.Face)];
        Surface s;
        s.TextureName = textures.Qualify(source.Texture);
        s.Flags = source.Flags;
        s.LightmapIndex = -1;
        s.Base = source.Origin.ToFloat();
        s.Normal = StoredSurfaceNormal(face.Plane.Normal).ToFloat();
        s.UAxis = source.TextureU.ToFloat();
        s.VAxis = source.TextureV.ToFloat();
        s.UPan = Pan(source.PanU);
        s.VPan = Pan(source.PanV);
        index[i] = surfaces.Add(std::move(s));
        byFace.emplace(key, index[i]);
    }
    return index;
}

} // namespace orv
