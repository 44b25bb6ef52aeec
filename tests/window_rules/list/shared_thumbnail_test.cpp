#include "window_rules/list/shared_thumbnail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <map>

#include "engine/read/picture_read.h"
#include "png8/png_encode.h"
#include "support/test_support.h"
#include "window_rules/list/thumbnail.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;

// Stored width x height in four quadrants: red top-left, green top-right, blue bottom-left, yellow
// bottom-right; written as JPEG with the Exif orientation, or as PNG (orientation 0: none).
void WriteQuadrants(const fs::path& path, int width, int height, int orientation,
                    const char* format = "JPEG") {
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool right = x >= width / 2;
      const bool bottom = y >= height / 2;
      const Rgb colour = !bottom ? (right ? Rgb{0, 255, 0} : Rgb{255, 0, 0})
                                 : (right ? Rgb{255, 255, 0} : Rgb{0, 0, 255});
      for (int c = 0; c < 3; ++c) {
        rgb[(static_cast<std::size_t>(y) * width + x) * 3 + static_cast<std::size_t>(c)] =
            static_cast<unsigned char>(colour[static_cast<std::size_t>(c)]);
      }
    }
  }
  MagickWandPtr wand = MakeMagickWand();
  ASSERT_TRUE(MagickConstituteImage(wand.get(), static_cast<size_t>(width),
                                    static_cast<size_t>(height), "RGB", CharPixel, rgb.data()));
  ASSERT_TRUE(MagickSetImageFormat(wand.get(), format));
  if (orientation > 0) {
    const std::string exif = test::ExifWithOrientation(orientation);
    MagickSetImageProfile(wand.get(), "exif", exif.data(), exif.size());
    MagickSetImageOrientation(wand.get(), static_cast<OrientationType>(orientation));
  }
  ASSERT_TRUE(WritePictureFile(wand.get(), path, nullptr));
}

Rgb TileAt(const std::vector<std::uint8_t>& tile, int x, int y) {
  const std::uint8_t* p = &tile[static_cast<std::size_t>((y * kThumbnailSide + x) * 4)];
  return {p[0], p[1], p[2]};
}

void ExpectNear(const Rgb& actual, const Rgb& expected, const std::string& where) {
  for (std::size_t c = 0; c < 3; ++c) {
    EXPECT_NEAR(actual[c], expected[c], 40) << where << " channel " << c;
  }
}

// The pixels of a tile's picture area inside the frame at the centres of its four quarters.
std::array<Rgb, 4> Quarters(const std::vector<std::uint8_t>& tile, const FittedSize& size) {
  const int left = 1 + (94 - size.width) / 2;
  const int top = 1 + (94 - size.height) / 2;
  const int x0 = left + size.width / 4, x1 = left + size.width * 3 / 4;
  const int y0 = top + size.height / 4, y1 = top + size.height * 3 / 4;
  return {TileAt(tile, x0, y0), TileAt(tile, x1, y0), TileAt(tile, x0, y1), TileAt(tile, x1, y1)};
}

TEST(SharedThumbnail, UriAndNameAreTheDesktopsOwn) {
  // The URI and digest GLib's g_filename_to_uri and g_compute_checksum_for_string give.
  const std::string uri =
      ThumbnailUri("/tmp/a b#;[\xc3\xa9~!$&'()*+,=:@?%<>\"{}|^`\\x.jpg");
  EXPECT_EQ(uri,
            "file:///tmp/a%20b%23%3B%5B%C3%A9~!$&'()*+,=:@%3F%25%3C%3E%22%7B%7D%7C%5E%60%5Cx.jpg");
  EXPECT_EQ(SharedThumbnailName(uri), "5b707883b793e00c537a869620f20dde.png");
  EXPECT_EQ(ThumbnailUri("/home/u/pics/../photo.jpg"), "file:///home/u/photo.jpg");

  EXPECT_EQ(SharedThumbnailFolder("/x/cache", "/home/u"), fs::path("/x/cache/thumbnails/normal"));
  EXPECT_EQ(SharedThumbnailFolder("", "/home/u"), fs::path("/home/u/.cache/thumbnails/normal"));
  EXPECT_EQ(SharedThumbnailFolder("relative", "/home/u"),
            fs::path("/home/u/.cache/thumbnails/normal"));
  EXPECT_EQ(SharedThumbnailFolder(nullptr, nullptr), fs::path());
}

// Every Exif orientation: the JPEG decoded straight to its small size comes out as upright as the
// same picture turned upright by ImageMagick and read as a PNG.
TEST(SharedThumbnail, JpegsComeOutUprightForEveryOrientation) {
  test::EnsureMagick();
  test::TempFolder folder;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const std::string name = "o" + std::to_string(orientation);
    WriteQuadrants(folder / (name + ".jpg"), 640, 400, orientation);
    MagickWandPtr upright = ReadPicture(folder / (name + ".jpg"));
    ASSERT_TRUE(upright);
    ASSERT_TRUE(MagickSetImageFormat(upright.get(), "PNG"));
    ASSERT_TRUE(WritePictureFile(upright.get(), folder / (name + ".png"), nullptr));

    std::string failure;
    std::optional<SharedThumbnail> fast = MakeSharedThumbnail(folder / (name + ".jpg"), failure);
    std::optional<SharedThumbnail> read = MakeSharedThumbnail(folder / (name + ".png"), failure);
    ASSERT_TRUE(fast && read) << failure;
    const bool sideways = orientation >= 5;
    EXPECT_EQ(fast->width, sideways ? 80 : 128) << name;
    EXPECT_EQ(fast->height, sideways ? 128 : 80) << name;
    EXPECT_EQ(fast->image_width, sideways ? 400 : 640) << name;
    EXPECT_EQ(read->width, fast->width) << name;

    const FittedSize fitted = FitThumbnail(fast->image_width, fast->image_height);
    const auto expected = Quarters(FrameThumbnail(*read, 0, false), fitted);
    const auto actual = Quarters(FrameThumbnail(*fast, 0, false), fitted);
    for (std::size_t i = 0; i < 4; ++i) ExpectNear(actual[i], expected[i], name);
  }
  // Orientation 6 shows the stored picture turned clockwise: red at the top right.
  std::string failure;
  std::optional<SharedThumbnail> six = MakeSharedThumbnail(folder / "o6.jpg", failure);
  ASSERT_TRUE(six);
  const auto quarters = Quarters(FrameThumbnail(*six, 0, false), FitThumbnail(400, 640));
  ExpectNear(quarters[1], {255, 0, 0}, "turned red");
  ExpectNear(quarters[0], {0, 0, 255}, "turned blue");
}

// A phone's HEIC keeps a small picture of itself: the list's thumbnail is made from it, as upright
// and coloured as the whole picture and with the whole picture's size; a HEIC without one is read.
TEST(SharedThumbnail, HeicFromItsOwnThumbnailOrItsPicture) {
  test::EnsureMagick();
  test::TempFolder folder;
  // From a JPEG: heif-enc makes the thumbnail of a PNG source with its samples out of step.
  WriteQuadrants(folder / "q.jpg", 640, 400, 1);
  const std::string command = "heif-enc -q 80 -t 320 '" + (folder / "q.jpg").string() + "' -o '" +
                              (folder / "q.heic").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  WriteQuadrants(folder / "plain.heic", 640, 400, 0, "HEIC");

  std::string failure;
  std::optional<SharedThumbnail> jpeg = MakeSharedThumbnail(folder / "q.jpg", failure);
  ASSERT_TRUE(jpeg) << failure;
  for (const char* name : {"q.heic", "plain.heic"}) {
    std::optional<SharedThumbnail> heic = MakeSharedThumbnail(folder / name, failure);
    ASSERT_TRUE(heic) << name << " " << failure;
    EXPECT_EQ(heic->width, 128) << name;
    EXPECT_EQ(heic->height, 80) << name;
    EXPECT_EQ(heic->image_width, 640) << name;
    EXPECT_EQ(heic->image_height, 400) << name;
    const FittedSize fitted = FitThumbnail(640, 400);
    const auto expected = Quarters(FrameThumbnail(*jpeg, 0, false), fitted);
    const auto actual = Quarters(FrameThumbnail(*heic, 0, false), fitted);
    for (std::size_t i = 0; i < 4; ++i) ExpectNear(actual[i], expected[i], name);
  }
}

TEST(SharedThumbnail, WrittenReadAgainAndRemadeWhenStaleOrBroken) {
  test::EnsureMagick();
  test::TempFolder folder;
  const fs::path cache = folder / "cache";
  const fs::path shared_folder = SharedThumbnailFolder(cache.c_str(), "/nowhere");
  const fs::path photo = folder / "照片 1.jpg";
  WriteQuadrants(photo, 600, 300, 1);
  const ThumbnailOrder order{0, false, shared_folder, true};

  Thumbnail made = MakeThumbnail(photo, order);
  ASSERT_EQ(made.rgba.size(), 96u * 96u * 4u) << made.failure;
  std::optional<ThumbnailSource> source = ThumbnailSourceOf(photo);
  ASSERT_TRUE(source);
  EXPECT_EQ(source->uri, "file://" + (folder / "%E7%85%A7%E7%89%87%201.jpg").string());
  const fs::path written = shared_folder / SharedThumbnailName(source->uri);
  struct stat facts {};
  ASSERT_EQ(::stat(written.c_str(), &facts), 0);
  EXPECT_EQ(facts.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(shared_folder.c_str(), &facts), 0);
  EXPECT_EQ(facts.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((cache / "thumbnails").c_str(), &facts), 0);
  EXPECT_EQ(facts.st_mode & 0777, 0700u);
  EXPECT_EQ(test::FilesIn(shared_folder), std::vector<std::string>{written.filename().string()});

  // What another program reads: a 128 x 64 PNG recording the URI, time, size and picture size.
  DecodedPng png;
  ASSERT_EQ(DecodeRgbaPng(test::ReadFile(written), png), 0u);
  EXPECT_EQ(png.width, 128u);
  EXPECT_EQ(png.height, 64u);
  std::map<std::string, std::string> texts(png.texts.begin(), png.texts.end());
  EXPECT_EQ(texts["Thumb::URI"], source->uri);
  EXPECT_EQ(texts["Thumb::MTime"], std::to_string(source->mtime));
  EXPECT_EQ(texts["Thumb::Size"], std::to_string(source->size));
  EXPECT_EQ(texts["Thumb::Image::Width"], "600");
  EXPECT_EQ(texts["Thumb::Image::Height"], "300");

  // A valid thumbnail is read instead of the picture: an all-grey one shows grey.
  SharedThumbnail grey{128, 64, std::vector<std::uint8_t>(128 * 64 * 4, 128), 600, 300};
  for (std::size_t i = 3; i < grey.rgba.size(); i += 4) grey.rgba[i] = 255;
  test::WriteFile(written, EncodeSharedThumbnail(grey, *source));
  made = MakeThumbnail(photo, order);
  ExpectNear(TileAt(made.rgba, 48, 48), {128, 128, 128}, "read from the cache");
  // Unless the file was just written over.
  Thumbnail remade = MakeThumbnail(photo, ThumbnailOrder{0, false, shared_folder, false});
  ExpectNear(TileAt(remade.rgba, 20, 30), {255, 0, 0}, "made from the file");

  // Stale: the file's time differs from the one recorded; it is made again and stored.
  test::WriteFile(written, EncodeSharedThumbnail(grey, *source));
  fs::last_write_time(photo, fs::last_write_time(photo) + std::chrono::seconds(5));
  made = MakeThumbnail(photo, order);
  ExpectNear(TileAt(made.rgba, 20, 30), {255, 0, 0}, "stale");
  source = ThumbnailSourceOf(photo);
  ASSERT_TRUE(ReadSharedThumbnail(shared_folder, *source));
  EXPECT_FALSE(ParseSharedThumbnail(EncodeSharedThumbnail(grey, *source),
                                    ThumbnailSource{source->uri, source->mtime, source->size + 1}));
  EXPECT_FALSE(ParseSharedThumbnail(EncodeSharedThumbnail(grey, *source),
                                    ThumbnailSource{source->uri + "x", source->mtime, source->size}));

  // Broken: not a PNG; made again.
  test::WriteFile(written, "not a png");
  made = MakeThumbnail(photo, order);
  ExpectNear(TileAt(made.rgba, 20, 30), {255, 0, 0}, "broken");
  EXPECT_TRUE(ReadSharedThumbnail(shared_folder, *source));

  // A cache that cannot be written (its folder is a file) is no error.
  test::WriteFile(folder / "blocked", "file");
  made = MakeThumbnail(photo, ThumbnailOrder{0, false, folder / "blocked" / "normal", true});
  EXPECT_EQ(made.rgba.size(), 96u * 96u * 4u) << made.failure;
  EXPECT_TRUE(made.failure.empty());
  if (::geteuid() != 0) {
    fs::remove(written);
    fs::permissions(shared_folder, fs::perms::owner_read | fs::perms::owner_exec);
    made = MakeThumbnail(photo, order);
    fs::permissions(shared_folder, fs::perms::owner_all);
    EXPECT_EQ(made.rgba.size(), 96u * 96u * 4u) << made.failure;
    EXPECT_FALSE(fs::exists(written));
  }
}

}  // namespace
}  // namespace brindle
