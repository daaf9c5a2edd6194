// Clipping of convex polygons against one plane.
#include "render/Clip.h"

namespace orv {

namespace {

Vector Intersect(const Vector& a, float da, const Vector& b, float db) {
    const float t = da / (da - db);
    return a + (b - a) * t;
}

} // namespace

bool ClipToPlane(ClipPolygon& polygon, const Plane& plane) {
    const int n = polygon.Num;
    if (n <= 0) {
        return false;
    }
    float d[kClipCapacity];
    int outside = 0;
    for (int i = 0; i < n; ++i) {
        d[i] = plane.Distance(polygon.Points[i]);
        outside += d[i] < 0.0f ? 1 : 0;
    }
    if (outside == 0) {
        return true;
    }
    if (outside == n || n >= kClipCapacity) {
        polygon.Num = 0;
        return false;
    }
    // first: the first inside point after an outside one; last: the last inside point of that run.
    int first = -1;
    for (int i = 0; i < n; ++i) {
        const int prev = (i + n - 1) % n;
        if (d[i] >= 0.0f && d[prev] < 0.0f) {
            first = i;
            break;
        }
    }
    int last = first;
    while (d[(last + 1) % n] >= 0.0f) {
        last = (last + 1) % n;
    }
    const int beforeFirst = (first + n - 1) % n;
    const int afterLast = (last + 1) % n;

    Vector out[kClipCapacity];
    int count = 0;
    out[count++] = Intersect(polygon.Points[beforeFirst], d[beforeFirst], polygon.Points[first], d[first]);
    for (int i = first;; i = (i + 1) % n) {
        out[count++] = polygon.Points[i];
        if (i == last) {
            break;
        }
    }
    out[count++] = Intersect(polygon.Points[last], d[last], polygon.Points[afterLast], d[afterLast]);
    polygon.Num = count;
    for (int i = 0; i < count; ++i) {
        polygon.Points[i] = out[i];
    }
    return true;
}

} // namespace orv
