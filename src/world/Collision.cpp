// Cylinder overlap.
#include "world/Collision.h"

namespace orv {

bool CylindersOverlap(const Vector& locationA, float heightA, float radiusA, const Vector& locationB, float heightB,
                      float radiusB) {
    Vector d = locationA - locationB;
    d.Z = 0;
    return radiusA + radiusB >= Length(d) && locationB.Z + heightB >= locationA.Z - heightA &&
           locationA.Z + heightA >= locationB.Z - heightB;
}

} // namespace orv
