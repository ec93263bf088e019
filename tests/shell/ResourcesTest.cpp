#include <gtest/gtest.h>

#include "Fixtures.h"
#include "fortune/WinMain.h"
#include "resources/Pictures.h"
#include "resources/SandShake.h"

using testing_support::ProgramTest;
using testing_support::TempBundle;

class ResourcesTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    UseBundle(bundle);
  }
  TempBundle bundle;
};

TEST_F(ResourcesTest, APictureIsOpenedOnceAndKept) {
  bundle.AddMedia("ballsmall1.png");
  const auto first = ballsmall1();
  ASSERT_TRUE(first);
  bundle.RemoveResource("ballsmall1.png");
  EXPECT_EQ(ballsmall1(), first);
}

TEST_F(ResourcesTest, AMissingPictureIsTriedAgainAtTheNextCall) {
  EXPECT_FALSE(TarnwickUpdatedLogosmall());
  bundle.AddMedia("TarnwickUpdatedLogosmall.png");
  const auto logo = TarnwickUpdatedLogosmall();
  ASSERT_TRUE(logo);
  EXPECT_EQ(logo->Width(), 280);
  EXPECT_EQ(logo->Height(), 167);
}

TEST_F(ResourcesTest, TheSoundIsLoadedOnceAndKept) {
  bundle.AddMedia("sandshake.mp3");
  EXPECT_FALSE(resources::loaded);
  const auto sound = sandshake();
  ASSERT_TRUE(sound);
  EXPECT_TRUE(resources::loaded);
  bundle.RemoveResource("sandshake.mp3");
  EXPECT_EQ(sandshake(), sound);
}

TEST_F(ResourcesTest, AMissingSoundRaisesOnceThenIsNilWithoutLookingAgain) {
  EXPECT_THROW(sandshake(), platform::NilObjectException);
  EXPECT_TRUE(resources::loaded);
  bundle.AddMedia("sandshake.mp3");
  EXPECT_FALSE(sandshake());
}

TEST_F(ResourcesTest, AFileThatIsNoSoundGivesNil) {
  bundle.WriteResource("sandshake.mp3", "not a sound");
  EXPECT_FALSE(sandshake());
  EXPECT_TRUE(resources::loaded);
}

TEST_F(ResourcesTest, NoResourcesFolderGivesNilWithoutRaising) {
  std::filesystem::remove_all(bundle.Resources());
  EXPECT_FALSE(sandshake());
  EXPECT_TRUE(resources::loaded);
}

TEST_F(ResourcesTest, NoSoundIsLoadedInARunWithoutAShake) {
  bundle.AddMedia("sandshake.mp3");
  bundle.AddMedia("ballsmall1.png");
  StartProgram();
  WinMain()->btn_VisitWebsite()->Push();
  EXPECT_FALSE(resources::loaded);
  EXPECT_TRUE(effects->sounds.empty());
}
