// The styles of the two start-up fonts, shared by the generator and its tests.
#pragma once

#include "FontGen.h"

namespace orv {

BitmapFontStyle LargeFontStyle();
BitmapFontStyle MediumFontStyle();

} // namespace orv
