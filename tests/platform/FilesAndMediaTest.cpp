#include <gtest/gtest.h>

#include "Fixtures.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"
#include "platform/Sound.h"

using namespace platform;
using testing_support::ProgramTest;
using testing_support::TempBundle;

using testing_support::ImagePluginsMapped;

class FilesAndMediaTest : public ProgramTest {
 protected:
  TempBundle bundle;
};

TEST_F(FilesAndMediaTest, TheResourcesFolderLiesBesideTheExecutablesFolder) {
  UseBundle(bundle);
  const Ref<FolderItem> resources = GetApplicationBundleResources_();
  ASSERT_TRUE(resources);
  EXPECT_EQ(resources->NativePath(), bundle.Resources().string());

  std::filesystem::remove(bundle.Resources());
  EXPECT_FALSE(GetApplicationBundleResources_());
}

TEST_F(FilesAndMediaTest, AChildIsOneNameInsideTheFolder) {
  bundle.WriteResource("note.txt", "hello");
  auto folder = New<FolderItem>(bundle.Resources().string());
  ASSERT_TRUE(folder->Child("note.txt"));
  EXPECT_EQ(folder->Child("note.txt")->Parent()->NativePath(), folder->NativePath());
  EXPECT_FALSE(folder->Child("missing.txt"));
  // Nothing outside the folder is reached through a child's name.
  EXPECT_FALSE(folder->Child(".."));
  EXPECT_FALSE(folder->Child("../Resources"));
  EXPECT_FALSE(folder->Child(""));
  EXPECT_FALSE(New<FolderItem>("/")->Parent());
}

TEST_F(FilesAndMediaTest, OnlyASoundFileOpensAsASound) {
  bundle.AddMedia("sandshake.mp3");
  bundle.WriteResource("fake.mp3", "this is not audio at all");
  bundle.WriteResource("short.mp3", "ID");
  auto folder = New<FolderItem>(bundle.Resources().string());
  EXPECT_TRUE(folder->Child("sandshake.mp3")->OpenAsSound());
  EXPECT_FALSE(folder->Child("fake.mp3")->OpenAsSound());
  EXPECT_FALSE(folder->Child("short.mp3")->OpenAsSound());
  EXPECT_FALSE(Sound::Open((bundle.Resources() / "gone.mp3").string()));
}

TEST_F(FilesAndMediaTest, SoundsPlayThroughTheEffects) {
  bundle.AddMedia("sandshake.mp3");
  auto sound = Sound::Open((bundle.Resources() / "sandshake.mp3").string());
  sound->Play();
  sound->Play();
  EXPECT_EQ(effects->sounds.size(), 2u);
}

TEST_F(FilesAndMediaTest, APictureOpensByNameFromTheBundle) {
  bundle.AddMedia("ballsmall1.png");
  bundle.WriteResource("broken.png", "\x89PNG but not really");
  UseBundle(bundle);

  const Ref<Picture> ball = Picture::OpenFromApp_("ballsmall1");
  ASSERT_TRUE(ball);
  EXPECT_EQ(ball->Width(), 162);
  EXPECT_EQ(ball->Height(), 144);
  EXPECT_EQ(ball->Description(), "Fortune ball");
  EXPECT_FALSE(Picture::OpenFromApp_("broken"));
  EXPECT_FALSE(Picture::OpenFromApp_("TarnwickUpdatedLogosmall"));
}

// Qt asks every image plug-in whether it reads a file unless the format is named
// and detection is off: each of them, and libjpeg, would be loaded for one PNG.
TEST_F(FilesAndMediaTest, OpeningAPictureLoadsNoImagePlugin) {
  bundle.AddMedia("ballsmall1.png");
  bundle.WriteResource("broken.png", "GIF89a is not a PNG");
  UseBundle(bundle);
  ASSERT_EQ(ImagePluginsMapped(), "") << "loaded before the test began";

  EXPECT_TRUE(Picture::OpenFromApp_("ballsmall1"));
  EXPECT_FALSE(Picture::OpenFromApp_("broken"));
  EXPECT_EQ(ImagePluginsMapped(), "");
}
