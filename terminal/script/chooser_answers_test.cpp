#include "terminal/script/chooser_answers.h"

#include <gtest/gtest.h>

#include "platform/testing/reset_test.h"
#include "platform/user/cdialog.h"
#include "platform/user/color_dialog.h"
#include "platform/user/dialog_resources.h"

namespace terminal {
namespace {

using ChooserAnswers = platform::ResetTest;

TEST_F(ChooserAnswers, AColourIsRedGreenBlueAndAnswersOneChooserOnly) {
  std::string error;
  ASSERT_TRUE(AnswerNextColorChooser("FF8001", error)) << error;
  CColorDialog first(0x123456);
  CColorDialog second(0x123456);
  ASSERT_EQ(first.DoModal(), IDOK);
  EXPECT_EQ(first.GetColor(), RGB(0xFF, 0x80, 0x01));
  EXPECT_EQ(second.DoModal(), IDCANCEL);
}

TEST_F(ChooserAnswers, MalformedAnswersAreRefusedWithTheReason) {
  std::string error;
  for (const char* bad : {"", "FFF", "FF00000", "GG0000", "+F0000", " F0000"}) {
    error.clear();
    EXPECT_FALSE(AnswerNextColorChooser(bad, error)) << bad;
    EXPECT_NE(error.find("six hexadecimal digits"), std::string::npos) << error;
  }
  for (const char* bad : {"", "ten", "12pt", "0", "-8", "1000"}) {
    error.clear();
    EXPECT_FALSE(AnswerNextFontDialog("Arial", bad, stderr, error)) << bad;
    EXPECT_NE(error.find("whole number of points"), std::string::npos) << error;
  }
  CColorDialog untouched(0x42);
  EXPECT_EQ(untouched.DoModal(), IDCANCEL) << "a refused answer installs nothing";
}

// A plug-in's font dialog without the face and size lists is cancelled, and
// the script is told why.
TEST_F(ChooserAnswers, AFontDialogWithoutItsListsIsCancelled) {
  std::string error;
  std::FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  ASSERT_TRUE(AnswerNextFontDialog("Arial", "10", err, error)) << error;
  platform::DialogTemplate bare;
  bare.caption = "Font Dialog";
  bare.cx = 100;
  bare.cy = 40;
  bare.items = {{IDOK, "BUTTON", "OK", 5, 5, 40, 14, WS_VISIBLE},
                {IDCANCEL, "BUTTON", "Cancel", 50, 5, 40, 14, WS_VISIBLE}};
  CDialog dialog;
  ASSERT_TRUE(dialog.InitModalIndirect(bare));
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  char said[200] = {};
  std::rewind(err);
  said[std::fread(said, 1, sizeof(said) - 1, err)] = '\0';
  std::fclose(err);
  EXPECT_STREQ(said, "answer-font: the Font Dialog offers no face \"Arial\"; cancelled\n");
}

}  // namespace
}  // namespace terminal
