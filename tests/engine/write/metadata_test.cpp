#include "engine/write/metadata.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/info_log.h"
#include "engine/process/process_picture.h"
#include "engine/read/picture_read.h"
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

// The JPEG's APPn segments before its image data, as "APPn identifier" (the identifier being the
// segment's text up to its first zero byte, at most 40 bytes).
std::vector<std::string> AppSegments(const std::string& jpeg) {
  std::vector<std::string> segments;
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    const unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
    const std::size_t length = (static_cast<unsigned char>(jpeg[at + 2]) << 8) |
                               static_cast<unsigned char>(jpeg[at + 3]);
    if (marker == 0xDA || length < 2) break;
    if (marker >= 0xE0 && marker <= 0xEF) {
      std::string identifier = jpeg.substr(at + 4, std::min<std::size_t>(length - 2, 40));
      identifier = identifier.substr(0, identifier.find('\0'));
      segments.push_back("APP" + std::to_string(marker - 0xE0) + " " + identifier);
    }
    at += 2 + length;
  }
  return segments;
}

// The JPEG with one more segment (marker, then the bytes) right after its start.
std::string WithSegment(const std::string& jpeg, unsigned char marker, const std::string& bytes) {
  const std::size_t length = bytes.size() + 2;
  std::string segment = {'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                         static_cast<char>(length & 0xFF)};
  return jpeg.substr(0, 2) + segment + bytes + jpeg.substr(2);
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

// What a photo edited in Photoshop carries besides Exif, IPTC and XMP: XMP too long for one segment
// (extended XMP, often megabytes of editing history), Photoshop's resource block (8BIM) and APP
// segments of other kinds. None of it is left, only the colour profile.
TEST_F(MetadataTest, ExtendedXmpPhotoshopBlocksAndOtherAppSegmentsGoToo) {
  const std::string srgb = test::ReadFile(test::DataFolder() / "icc" / "sRGB.icc");
  MagickWandPtr photo = test::MakePicture(640, 480, "JPEG");
  MagickSetImageProfile(photo.get(), "icc", srgb.data(), srgb.size());
  fs::path source = folder_ / "edited.jpg";
  ASSERT_TRUE(WritePictureFile(photo.get(), source, nullptr));
  // An APP1 block of another maker and an APP12 "Ducky" block (Photoshop's "Save for Web").
  std::string jpeg = test::ReadFile(source);
  jpeg = WithSegment(jpeg, 0xE1, std::string("MakerBlock\0", 11) + std::string(3000, 'm'));
  jpeg = WithSegment(jpeg, 0xEC, std::string("Ducky\0\x01\0\x04\0\0\0\x50\0\0", 15));
  test::WriteFile(source, jpeg);
  // 200 KB of editing history makes the XMP spill into extended XMP segments.
  test::WriteFile(folder_ / "history.txt", std::string(200000, 'h'));
  ASSERT_EQ(RunProgram({"exiftool", "-q", "-overwrite_original", "-XMP-dc:Title=Edited",
                        "-XMP-photoshop:History<=" + (folder_ / "history.txt").string(),
                        "-Photoshop:IPTCDigest=new", "-IPTC:Keywords=edited", source.string()},
                       folder_ / "write.txt"),
            0);
  const std::vector<std::string> before = AppSegments(test::ReadFile(source));
  auto count = [](const std::vector<std::string>& segments, const std::string& start) {
    return std::count_if(segments.begin(), segments.end(),
                         [&](const std::string& s) { return s.rfind(start, 0) == 0; });
  };
  ASSERT_GE(count(before, "APP1 http://ns.adobe.com/xmp/extension/"), 3) << ::testing::PrintToString(before);
  ASSERT_EQ(count(before, "APP13 Photoshop 3.0"), 1) << ::testing::PrintToString(before);
  ASSERT_EQ(count(before, "APP1 MakerBlock"), 1) << ::testing::PrintToString(before);
  ASSERT_EQ(count(before, "APP12 Ducky"), 1) << ::testing::PrintToString(before);

  recipe_.options.bRemovePhotoOtherInfo = 1;
  recipe_.options.bSize = 1;
  recipe_.options.sizeValue = 320;
  fs::path clean = folder_ / "clean.jpg";
  ASSERT_EQ(ProcessPicture(recipe_, source, clean, 0, 0).outcome, ProcessOutcome::kWritten)
      << InfoLog::Global().Text();
  const std::string written = test::ReadFile(clean);
  std::vector<std::string> after = AppSegments(written);
  after.erase(std::remove(after.begin(), after.end(), "APP0 JFIF"), after.end());
  EXPECT_EQ(after, std::vector<std::string>{"APP2 ICC_PROFILE"});
  // The picture is its pixels and its profile: well below the 200 KB of history.
  EXPECT_LT(written.size(), srgb.size() + 60000);

  // The same for a WebP written from it: its profile and nothing else.
  recipe_.options.outputFormat = OutputFormat::kWebp;
  fs::path webp = folder_ / "clean.webp";
  ASSERT_EQ(ProcessPicture(recipe_, source, webp, 0, 0).outcome, ProcessOutcome::kWritten)
      << InfoLog::Global().Text();
  const std::string tags = Tags(webp);
  for (const char* group : {"[XMP]", "[IPTC]", "[Photoshop]", "[EXIF]", "Edited", "hhhh"}) {
    EXPECT_EQ(tags.find(group), std::string::npos) << group << "\n" << tags;
  }
  EXPECT_NE(tags.find("[ICC_Profile]"), std::string::npos) << tags;
}

}  // namespace
}  // namespace brindle
