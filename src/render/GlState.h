// The OpenGL state the engine sets up once, the plain frame clear, and the error check every
// GL-using part shares.
#pragma once

namespace orv {

// The places whose OpenGL errors are logged, by the number their error line carries ("Error:
// OpenGL 0x502, line: 4564"). The numbers are fixed, so that a log names its place whatever the
// source looks like now; the region upload's are the source lines where those checks first stood.
enum GlErrorPlace : int {
    kGlErrorBeforeRegionUpload = 107,
    kGlErrorAfterRegionUpload = 113,
    kGlErrorAtlasCreated = 4564,
    kGlErrorAtlasUploaded = 4566,
};

// Viewport, perspective projection (vertical field of view in degrees, near plane 8, far plane
// 65536 * sqrt(3)), identity model-view, back-face culling, black clear colour, depth test with
// less-or-equal, colour material, 2D texturing and the nicest perspective correction.
void SetStartupGlState(int width, int height, float fovDegrees);

// The perspective projection (near plane 8) with the given far plane; leaves the model-view
// matrix current and reset. Start-up uses 65536 * sqrt(3); every level its own diagonal.
void SetProjection(int width, int height, float fovDegrees, float farPlane);

// The viewport and projection for a screen of a new size (the window took another size than the
// one asked for): the level's far plane, or the start-up one when it is 0.
void ResizeView(int width, int height, float fovDegrees, float farPlane);

// Clears colour and depth with the current clear values.
void ClearFrame();

// When an OpenGL error is pending: logs "Error: OpenGL 0x" + the code in upper-case hex +
// ", line: " + place (a GlErrorPlace, or the engine's own), drains any further pending codes and
// returns true.
bool CheckGlError(int place);

} // namespace orv
