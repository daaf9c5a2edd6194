// The logo shown while the engine loads its content: a 640 x 480 area of the 1024 x 512 logo
// image, kept 4:3 and centred on a grey screen.
#pragma once

#include <cstdint>
#include <functional>

namespace orv {

class TextureUploader;

// The image the splash shows.
inline constexpr const char* kLogoImagePath = "Textures\\Zelkor\\Textures\\Logo.png";

// Clears to grey (100/255) and draws the logo quad with identity matrices and culling off;
// texture 0 (no logo) draws the quad untextured. Culling, texturing and both matrix stacks are
// left as they were; nothing is bound afterwards.
void DrawLogoSplash(uint32_t logoTexture, int screenWidth, int screenHeight);

// Decodes the logo, uploads it (mode 10), draws and presents it three times so the picture
// stays up through the loading that follows, then frees the image and the texture.
void ShowLogoSplash(TextureUploader& uploader, int screenWidth, int screenHeight, const std::function<void()>& present);

} // namespace orv
