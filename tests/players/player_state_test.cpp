#include <gtest/gtest.h>

#include "plugin/base/player_state.h"

namespace tb {
namespace {

TEST(PlayerState, StartsAsTheLibraryLoads) {
  const ModTimer modTimer;
  for (const auto* flag :
       {&modTimer.WinampChanged, &modTimer.StudioChanged, &modTimer.MusicMatchChanged}) {
    EXPECT_EQ(*flag, u"");
    EXPECT_NE(*flag, kChanged) << "an empty flag counts as not changed";
  }
  for (const auto* title : {&modTimer.WinampLastTitle, &modTimer.StudioLastTitle,
                            &modTimer.MusicMatchLastTitle, &modTimer.MediaPlayerLastTitle}) {
    EXPECT_EQ(*title, u"");
  }

  const FrmWinamp frmWinamp;
  EXPECT_EQ(frmWinamp.Text1, u"Text1");
  EXPECT_EQ(frmWinamp.Label1, u"Label1");
  EXPECT_EQ(frmWinamp.Label2, u"Label2");
  EXPECT_EQ(frmWinamp.Label3, u"Label3");
  EXPECT_EQ(frmWinamp.txtTitle, u"") << "the Winamp tags expand to a blank before any read";
  EXPECT_EQ(frmWinamp.txtArtist, u"");
  EXPECT_EQ(frmWinamp.txtAlbum, u"");
  EXPECT_EQ(frmWinamp.Text2, u"\"") << "exactly one double quote";
}

}  // namespace
}  // namespace tb
