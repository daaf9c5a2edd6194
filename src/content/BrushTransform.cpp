// The brush-to-world transform.
#include "content/BrushTransform.h"

namespace orv {

Vector BrushDirectionToWorld(const BrushTransform& t, const Vector& d) {
    Vector v = Scale3(d, t.MainScale);
    v.Y = -v.Y;
    v = RotateByAngles(v, -double(t.Rotation.Roll), -double(t.Rotation.Yaw), double(t.Rotation.Pitch));
    v.Y = -v.Y;
    return Scale3(v, t.PostScale);
}

Vector BrushVertexToWorld(const BrushTransform& t, const Vector& v) {
    return BrushDirectionToWorld(t, v - t.PrePivot) + t.Location;
}

Vector BrushNormalToWorld(const BrushTransform& t, const Vector& n) { return Normal(BrushDirectionToWorld(t, n)); }

} // namespace orv
