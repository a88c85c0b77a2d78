#include "terminal/script/chooser_answers.h"

#include <gtest/gtest.h>

#include "platform/testing/reset_for_test.h"
#include "platform/user/color_dialog.h"

namespace terminal {
namespace {

class ChooserAnswers : public ::testing::Test {
 protected:
  void SetUp() override { platform::ResetForTest(); }
  void TearDown() override { platform::ResetForTest(); }
};

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

}  // namespace
}  // namespace terminal
