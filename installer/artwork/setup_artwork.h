// The installer's pictures, painted with the plug-in's canvas and palette:
// the banner (the options dialog's own, with the installer's tagline), the
// progress strip empty and full, and the picture buttons.
#pragma once

#include <string>

#include "common/artwork/artwork.h"
#include "common/artwork/canvas.h"

namespace tb::art {

// The window's background, which the pictures' corners blend into.
inline constexpr Rgb kSetupBackground{224, 224, 224};

inline constexpr char16_t kSetupTagline[] = u"Press Install to continue";

inline constexpr int kStripWidth = 450;
inline constexpr int kStripHeight = 18;
// A rounded trough; `full` fills it with the brand's colours.
void PaintProgressStrip(Canvas& canvas, bool full);

inline constexpr int kButtonWidth = 73;
inline constexpr int kButtonHeight = 21;
// A raised, rounded button in the brand's colours; its caption goes in
// ButtonCaption's box.
void PaintPictureButton(Canvas& canvas);
Words ButtonCaption();

}  // namespace tb::art
