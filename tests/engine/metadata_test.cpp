#include "engine/metadata.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "base/info_log.h"
#include "engine/picture_read.h"
#include "engine/process_picture.h"
#include "support/test_support.h"

extern char** environ;

namespace brindle {
namespace {

namespace fs = std::filesystem;

// Runs a program found on the PATH, its output to the given file; the exit status, or -1.
int RunProgram(std::vector<std::string> args, const fs::path& output) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class MetadataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureMagick();
    InfoLog::Global().Clear();
    recipe_.options = InitialProcessingOptions();
  }

  // What exiftool finds in the file, one "[GROUP] Tag: value" line each.
  std::string Tags(const fs::path& path) {
    fs::path out = folder_ / "tags.txt";
    EXPECT_EQ(RunProgram({"exiftool", "-G", "-a", "-s", path.string()}, out), 0);
    return test::ReadFile(out);
  }

  test::TempFolder folder_;
  RunRecipe recipe_;
};

TEST_F(MetadataTest, PhotoKeepsOnlyItsColourProfile) {
  const std::string srgb = test::ReadFile(test::DataFolder() / "icc" / "sRGB.icc");
  MagickWandPtr photo = test::MakePicture(64, 48, "JPEG");
  MagickSetImageProfile(photo.get(), "icc", srgb.data(), srgb.size());
  fs::path source = folder_ / "photo.jpg";
  ASSERT_TRUE(WritePictureFile(photo.get(), source, nullptr));
  ASSERT_EQ(RunProgram({"exiftool", "-q", "-overwrite_original", "-EXIF:Artist=Someone",
                        "-EXIF:DateTimeOriginal=2020:01:02 03:04:05", "-EXIF:Model=Camera",
                        "-IPTC:Keywords=holiday", "-IPTC:By-line=Me", "-XMP-dc:Creator=Me",
                        "-XMP-dc:Title=Trip", "-Comment=taken on holiday", source.string()},
                       folder_ / "write.txt"),
            0);
  const std::string before = Tags(source);
  ASSERT_NE(before.find("[EXIF]"), std::string::npos) << before;
  ASSERT_NE(before.find("[IPTC]"), std::string::npos) << before;
  ASSERT_NE(before.find("[XMP]"), std::string::npos) << before;
  ASSERT_NE(before.find("holiday"), std::string::npos) << before;

  recipe_.options.bRemovePhotoOtherInfo = 1;
  fs::path clean = folder_ / "clean.jpg";
  ASSERT_EQ(ProcessPicture(recipe_, source, clean, 0, 0).outcome, ProcessOutcome::kWritten)
      << InfoLog::Global().Text();
  const std::string after = Tags(clean);
  for (const char* group : {"[EXIF]", "[IPTC]", "[XMP]", "[Photoshop]", "Comment", "Someone",
                            "holiday", "Camera", "Trip"}) {
    EXPECT_EQ(after.find(group), std::string::npos) << group << "\n" << after;
  }
  EXPECT_NE(after.find("[ICC_Profile]"), std::string::npos) << after;
  MagickWandPtr saved = ReadPicture(clean);
  size_t length = 0;
  MagickBlobPtr icc(MagickGetImageProfile(saved.get(), "icc", &length));
  ASSERT_TRUE(icc);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(icc.get()), length), srgb);

  // Switch off: everything stays.
  recipe_.options.bRemovePhotoOtherInfo = 0;
  fs::path kept = folder_ / "kept.jpg";
  ASSERT_EQ(ProcessPicture(recipe_, source, kept, 0, 0).outcome, ProcessOutcome::kWritten);
  const std::string all = Tags(kept);
  for (const char* group : {"[EXIF]", "[IPTC]", "[XMP]", "holiday", "taken on holiday"}) {
    EXPECT_NE(all.find(group), std::string::npos) << group << "\n" << all;
  }
}

}  // namespace
}  // namespace brindle
