#include "run/list/picture_entry.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

#include "base/info_log.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

// A classifier that answers from a table and counts how often it is asked.
struct TableClassifier {
  std::map<std::string, PictureClass> classes;
  int calls = 0;
  PictureList::Classifier Get() {
    return [this](const fs::path& path) {
      ++calls;
      auto it = classes.find(path.string());
      return it == classes.end() ? PictureClass::kUnknown : it->second;
    };
  }
};

class PictureListTest : public ::testing::Test {
 protected:
  void SetUp() override { InfoLog::Global().Clear(); }
  TableClassifier classifier;
  PictureList list;
};

TEST_F(PictureListTest, KnownExtensionDecidesUnlessFileFormatIsParsed) {
  classifier.classes = {{"/p/a.PNG", PictureClass::kJpeg}, {"/p/b.tbi", PictureClass::kBmp}};
  EXPECT_EQ(list.Add("/p/a.PNG", "", classifier.Get(), false), PictureList::AddResult::kAdded);
  EXPECT_EQ(classifier.calls, 0);
  EXPECT_EQ(list[0].content_class, PictureClass::kPng);

  // ".tbi" has no type of its own: the contents decide.
  EXPECT_EQ(list.Add("/p/b.tbi", "", classifier.Get(), false), PictureList::AddResult::kAdded);
  EXPECT_EQ(classifier.calls, 1);
  EXPECT_EQ(list[1].content_class, PictureClass::kBmp);

  PictureList parsed;
  EXPECT_EQ(parsed.Add("/p/a.PNG", "", classifier.Get(), true), PictureList::AddResult::kAdded);
  EXPECT_EQ(classifier.calls, 2);
  EXPECT_EQ(parsed[0].content_class, PictureClass::kJpeg);
}

TEST_F(PictureListTest, ExtensionTable) {
  const std::map<std::string, int> expected = {{"a.jpg", 113}, {"a.JPEG", 113}, {"a.Jfif", 113},
                                               {"a.png", 114}, {"a.gif", 115},  {"a.bmp", 116},
                                               {"a.psd", 117}, {"a.tif", 118},  {"a.TIFF", 118},
                                               {"a.tbi", 0},   {"jpg", 0},      {"a.jpg.txt", 0}};
  for (const auto& [name, type] : expected)
    EXPECT_EQ(static_cast<int>(PictureClassByExtension(name)), type) << name;
}

TEST_F(PictureListTest, EntryRemembersNameFolderAndDefaults) {
  ASSERT_EQ(list.Add("/pics/Holiday/day1/beach 50%.jpg", "Holiday/day1", classifier.Get(), false),
            PictureList::AddResult::kAdded);
  const PictureEntry& entry = list[0];
  EXPECT_EQ(entry.name, "beach 50%.jpg");
  EXPECT_EQ(entry.path, fs::path("/pics/Holiday/day1/beach 50%.jpg"));
  EXPECT_EQ(entry.source_sub_path, "Holiday/day1");
  EXPECT_EQ(entry.sequence, 0);
  EXPECT_EQ(entry.icon_index, -1);
  EXPECT_EQ(entry.rotation, 0);
  EXPECT_EQ(entry.flip, FlipState::kNone);
  EXPECT_FALSE(entry.thumbnail_done);
}

TEST_F(PictureListTest, SamePathTwiceIsAddedOnce) {
  EXPECT_EQ(list.Add("/p/a.jpg", "", classifier.Get(), true), PictureList::AddResult::kRefused);
  classifier.classes["/p/a.jpg"] = PictureClass::kJpeg;
  EXPECT_EQ(list.Add("/p/a.jpg", "", classifier.Get(), true), PictureList::AddResult::kAdded);
  EXPECT_EQ(list.Add("/p/a.jpg", "Other", classifier.Get(), true),
            PictureList::AddResult::kAlreadyPresent);
  EXPECT_EQ(classifier.calls, 2);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].source_sub_path, "");
  // Exact byte comparison: another spelling is another path.
  EXPECT_EQ(list.Add("/p/A.jpg", "", classifier.Get(), false), PictureList::AddResult::kAdded);
}

TEST_F(PictureListTest, RefusedPicturesAreLoggedAndGiveTheirNumberBack) {
  classifier.classes = {{"/p/1.jpg", PictureClass::kJpeg},
                        {"/p/broken.jpg", PictureClass::kCannotOpen},
                        {"/p/anim.gif", PictureClass::kAnimatedGif},
                        {"/p/what.jpg", PictureClass::kUnknown},
                        {"/p/2.jpg", PictureClass::kJpeg}};
  for (const char* path : {"/p/1.jpg", "/p/broken.jpg", "/p/anim.gif", "/p/what.jpg", "/p/2.jpg"}) {
    list.Add(path, "", classifier.Get(), true);
  }
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].sequence, 0);
  EXPECT_EQ(list[1].sequence, 1);
  EXPECT_FALSE(list.Contains("/p/broken.jpg"));
  EXPECT_EQ(InfoLog::Global().Text(),
            "图片读取失败:\r\n/p/broken.jpg\r\n\r\n"
            "不支持gif动画图片:\r\n/p/anim.gif\r\n\r\n"
            "无法识别的图片:\r\n/p/what.jpg\r\n\r\n");
}

TEST_F(PictureListTest, RemovingKeepsOrderAndOnlyRemoveAllRestartsNumbers) {
  for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"}) {
    list.Add(path, "", classifier.Get(), false);
  }
  list.Remove({2, 0, 2, 99});
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "b.jpg");
  EXPECT_EQ(list[1].name, "d.jpg");
  EXPECT_FALSE(list.Contains("/p/a.jpg"));
  EXPECT_TRUE(list.Contains("/p/b.jpg"));

  // A removed path can come back; numbering goes on.
  EXPECT_EQ(list.Add("/p/a.jpg", "", classifier.Get(), false), PictureList::AddResult::kAdded);
  EXPECT_EQ(list[2].sequence, 4);

  // Removing every entry is removing all.
  list.Remove({0, 1, 2});
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(list.Contains("/p/b.jpg"));
  list.Add("/p/b.jpg", "", classifier.Get(), false);
  EXPECT_EQ(list[0].sequence, 0);

  list.RemoveAll();
  list.Add("/p/c.jpg", "", classifier.Get(), false);
  EXPECT_EQ(list[0].sequence, 0);
}

TEST_F(PictureListTest, ARunOfEntriesGoesInOneStep) {
  for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg", "/p/e.jpg"}) {
    list.Add(path, "", classifier.Get(), false);
  }
  list.RemoveRange(1, 4);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "a.jpg");
  EXPECT_EQ(list[1].name, "e.jpg");
  EXPECT_FALSE(list.Contains("/p/c.jpg"));
  EXPECT_TRUE(list.Contains("/p/e.jpg"));
  list.RemoveRange(1, 99);  // the end is kept within the list
  ASSERT_EQ(list.size(), 1u);
  list.RemoveRange(0, 1);  // the last one: numbering starts again
  EXPECT_TRUE(list.empty());
  list.Add("/p/b.jpg", "", classifier.Get(), false);
  EXPECT_EQ(list[0].sequence, 0);
}

// A small picture as a grid of distinct values, to compare orientations.
using Grid = std::vector<std::vector<int>>;

Grid RotateClockwise(const Grid& g) {
  Grid out(g[0].size(), std::vector<int>(g.size()));
  for (std::size_t y = 0; y < g.size(); ++y)
    for (std::size_t x = 0; x < g[0].size(); ++x) out[x][g.size() - 1 - y] = g[y][x];
  return out;
}
Grid MirrorTopToBottom(Grid g) {
  std::reverse(g.begin(), g.end());
  return g;
}
Grid MirrorLeftToRight(Grid g) {
  for (auto& row : g) std::reverse(row.begin(), row.end());
  return g;
}

// What the processing does with an entry: rotate, then mirror top-to-bottom when flipped.
Grid Render(const Grid& source, const PictureEntry& entry) {
  Grid g = source;
  for (int r = 0; r < entry.rotation; r += 90) g = RotateClockwise(g);
  return entry.flip == FlipState::kNone ? g : MirrorTopToBottom(g);
}

TEST(OrientationCommand, TableFromTheToolbar) {
  PictureEntry entry;
  for (int i = 0; i < 4; ++i) ApplyOrientationCommand(entry, OrientationCommand::kRotateRight);
  EXPECT_EQ(entry.rotation, 0);

  ApplyOrientationCommand(entry, OrientationCommand::kRotateLeft);
  EXPECT_EQ(entry.rotation, 270);

  PictureEntry flipped;
  flipped.thumbnail_done = true;
  ApplyOrientationCommand(flipped, OrientationCommand::kFlipHorizontally);
  EXPECT_EQ(flipped.flip, FlipState::kByHorizontalFlip);
  EXPECT_EQ(flipped.rotation, 180);
  EXPECT_FALSE(flipped.thumbnail_done);
  ApplyOrientationCommand(flipped, OrientationCommand::kFlipVertically);
  EXPECT_EQ(flipped.flip, FlipState::kNone);
  EXPECT_EQ(flipped.rotation, 180);

  ApplyOrientationCommand(flipped, OrientationCommand::kFlipVertically);
  EXPECT_EQ(flipped.flip, FlipState::kByVerticalFlip);
  ApplyOrientationCommand(flipped, OrientationCommand::kRotateRight);
  EXPECT_EQ(flipped.rotation, 90);  // 180 + 270, brought back below 360
}

// Every sequence of up to four commands shows the picture as the user's commands would turn and
// mirror what is on the screen.
TEST(OrientationCommand, EverySequenceShowsWhatTheUserAskedFor) {
  const Grid source = {{1, 2, 3}, {4, 5, 6}};
  constexpr std::array<OrientationCommand, 4> kCommands = {
      OrientationCommand::kRotateRight, OrientationCommand::kRotateLeft,
      OrientationCommand::kFlipHorizontally, OrientationCommand::kFlipVertically};
  for (int code = 0; code < 4 * 4 * 4 * 4; ++code) {
    PictureEntry entry;
    Grid seen = source;
    int c = code;
    for (int step = 0; step < 4; ++step, c /= 4) {
      OrientationCommand command = kCommands[c % 4];
      ApplyOrientationCommand(entry, command);
      switch (command) {
        case OrientationCommand::kRotateRight:
          seen = RotateClockwise(seen);
          break;
        case OrientationCommand::kRotateLeft:
          seen = RotateClockwise(RotateClockwise(RotateClockwise(seen)));
          break;
        case OrientationCommand::kFlipHorizontally:
          seen = MirrorLeftToRight(seen);
          break;
        case OrientationCommand::kFlipVertically:
          seen = MirrorTopToBottom(seen);
          break;
      }
      ASSERT_TRUE(entry.rotation == 0 || entry.rotation == 90 || entry.rotation == 180 ||
                  entry.rotation == 270);
      ASSERT_EQ(Render(source, entry), seen) << "commands " << code << " step " << step;
    }
  }
}

}  // namespace
}  // namespace brindle
