#include <gtest/gtest.h>

#include "installer/artwork/setup_artwork.h"

namespace tb::art {
namespace {

TEST(SetupArtwork, TheStripIsAnEmptyTroughUntilFullOfTheBrandsColour) {
  Picture empty(kStripWidth, kStripHeight);
  Picture full(kStripWidth, kStripHeight);
  PaintProgressStrip(empty.Surface(), false);
  PaintProgressStrip(full.Surface(), true);
  const Rgb deep = BrandPalette().deep;
  for (const int x : {10, kStripWidth / 2, kStripWidth - 10}) {
    const Rgb inEmpty = empty.Surface().At(x, kStripHeight - 5);
    const Rgb inFull = full.Surface().At(x, kStripHeight - 5);
    EXPECT_GT(Luma(inEmpty), 200) << "an empty trough is pale at " << x;
    EXPECT_LT(Luma(inFull), Luma(inEmpty) - 60) << "a full bar is dark at " << x;
    EXPECT_GT(inFull.b, inFull.r) << "in the brand's blue at " << x;
    EXPECT_LT(std::abs(inFull.b - deep.b), 90);
  }
  // The corners blend into the window.
  EXPECT_EQ(full.Surface().At(0, 0), kSetupBackground);
  EXPECT_EQ(empty.Surface().At(kStripWidth - 1, kStripHeight - 1), kSetupBackground);
}

TEST(SetupArtwork, AButtonIsRaisedAndRoundedWithRoomForItsCaption) {
  Picture button(kButtonWidth, kButtonHeight);
  PaintPictureButton(button.Surface());
  EXPECT_EQ(button.Surface().At(0, 0), kSetupBackground) << "rounded corner";
  const Rgb top = button.Surface().At(kButtonWidth / 2, 2);
  const Rgb bottom = button.Surface().At(kButtonWidth / 2, kButtonHeight - 3);
  EXPECT_GT(Luma(top), Luma(bottom)) << "lit from above";
  EXPECT_LT(Luma(button.Surface().At(kButtonWidth / 2, kButtonHeight / 2 + 3)), 160)
      << "white words read on the button";
  const Words caption = ButtonCaption();
  EXPECT_GE(caption.box.left, 0);
  EXPECT_LE(caption.box.right, kButtonWidth);
  EXPECT_LE(caption.box.bottom, kButtonHeight);
  EXPECT_EQ(caption.colour, kWhite);
}

}  // namespace
}  // namespace tb::art
