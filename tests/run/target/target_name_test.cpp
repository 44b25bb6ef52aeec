#include "run/target/target_name.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "base/info_log.h"
#include "platform/files/file_write.h"
#include "platform/text/text_encoding.h"
#include "support/test_support.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

PictureEntry Entry(const fs::path& path, const std::string& sub_path = "") {
  PictureEntry entry;
  entry.path = path;
  entry.name = path.filename().string();
  entry.source_sub_path = sub_path;
  return entry;
}

// Chooses a name and takes it, as a finished picture would.
std::string ChooseAndWrite(const PictureEntry& entry, const std::string& folder, bool keep) {
  std::optional<fs::path> path = ChooseTargetName(entry, folder, keep);
  if (!path) return "(none)";
  test::WriteFile(*path, "jpeg");
  return path->string();
}

TEST(ChooseTargetName, CollisionsCountFromTwo) {
  TempFolder out;
  std::string folder = out.path().string() + "/";
  EXPECT_EQ(ChooseAndWrite(Entry("/src/x.png"), folder, false), folder + "x.jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/x.bmp"), folder, false), folder + "x(2).jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/x.gif"), folder, false), folder + "x(3).jpg");
  // A folder of that name counts as taken as well.
  fs::create_directory(out / "y.jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/y.jpg"), folder, false), folder + "y(2).jpg");
  // So does a link to nothing: writing through it would land wherever it points.
  fs::create_symlink(out / "gone.jpg", out / "z.jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/z.png"), folder, false), folder + "z(2).jpg");
  EXPECT_FALSE(fs::exists(out / "gone.jpg"));
}

TEST(ChooseTargetName, StemIsCutAtTheLastDotOnly) {
  TempFolder out;
  std::string folder = out.path().string();  // without the "/": it is added
  EXPECT_EQ(ChooseAndWrite(Entry("/src/archive.tar.gif"), folder, false),
            folder + "/archive.tar.jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/README"), folder, false), folder + "/README.jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/50%d off.png"), folder, false), folder + "/50%d off.jpg");
  EXPECT_EQ(ChooseAndWrite(Entry("/src/50%d off.bmp"), folder, false), folder + "/50%d off(2).jpg");
  EXPECT_TRUE(fs::exists(out / "50%d off(2).jpg"));
}

TEST(ChooseTargetName, KeepingTheStructureNamesTheSubFolder) {
  TempFolder out;
  std::string folder = out.path().string() + "/";
  fs::create_directories(out / "Holiday" / "day1");
  PictureEntry scanned = Entry("/pics/Holiday/day1/x.png", "Holiday/day1");
  EXPECT_EQ(ChooseAndWrite(scanned, folder, true), folder + "Holiday/day1/x.jpg");
  EXPECT_EQ(ChooseAndWrite(scanned, folder, true), folder + "Holiday/day1/x(2).jpg");
  // Structure off: the sub-path plays no part.
  EXPECT_EQ(ChooseAndWrite(scanned, folder, false), folder + "x.jpg");
  // A single file has no sub-path and goes straight into the folder.
  EXPECT_EQ(ChooseAndWrite(Entry("/elsewhere/x.gif"), folder, true), folder + "x(2).jpg");
}

TEST(ChooseTargetName, TooLongTargetIsRefusedWithALogLine) {
  TempFolder out;
  // A folder whose path leaves exactly room for "x.jpg" (259 bytes in GBK in all).
  std::string name;
  for (int i = 0; i < 20; ++i) name += "图";
  std::size_t used = GbkLength((out.path() / name).string() + "/x.jpg");
  fs::path folder = out.path() / (name + std::string(259 - used, 'a'));
  fs::create_directory(folder);

  InfoLog::Global().Clear();
  std::optional<fs::path> first = ChooseTargetName(Entry("/src/x.png"), folder.string(), false);
  ASSERT_TRUE(first);
  EXPECT_EQ(GbkLength(first->string()), 259u);
  test::WriteFile(*first, "jpeg");

  // "x(2).jpg" would pass the limit.
  EXPECT_FALSE(ChooseTargetName(Entry("/src/x.png"), folder.string(), false));
  EXPECT_EQ(
      InfoLog::Global().Text(),
      "图片处理后保存失败：\r\n文件路径长度大于 259 个字符！\r\n源图片：/src/x.png\r\n保存到：" +
          folder.string() + "/x(2).jpg\r\n\r\n");
  OutputNameLock lock;
  EXPECT_FALSE(TargetReservation::Reserve(Entry("/src/x.png"), folder.string(), false, lock));
  EXPECT_FALSE(fs::exists(folder / "x(2).jpg"));
}

TEST(TargetReservation, ReservedFileIsEmptyAndTakesTheName) {
  TempFolder out;
  OutputNameLock lock;
  PictureEntry entry = Entry("/src/x.png");
  std::optional<TargetReservation> first =
      TargetReservation::Reserve(entry, out.path(), false, lock);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->path(), out / "x.jpg");
  ASSERT_TRUE(fs::exists(out / "x.jpg"));
  EXPECT_EQ(fs::file_size(out / "x.jpg"), 0u);

  std::optional<TargetReservation> second =
      TargetReservation::Reserve(entry, out.path(), false, lock);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->path(), out / "x(2).jpg");
}

TEST(TargetReservation, FailedPictureGivesTheNameBack) {
  TempFolder out;
  OutputNameLock lock;
  PictureEntry entry = Entry("/src/x.png");
  {
    std::optional<TargetReservation> failed =
        TargetReservation::Reserve(entry, out.path(), false, lock);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->Discard());
    EXPECT_FALSE(fs::exists(out / "x.jpg"));
    EXPECT_FALSE(failed->Discard());
  }
  {
    // Not kept: the end of the reservation removes the empty file.
    std::optional<TargetReservation> dropped =
        TargetReservation::Reserve(entry, out.path(), false, lock);
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(fs::exists(out / "x.jpg"));
  }
  EXPECT_FALSE(fs::exists(out / "x.jpg"));
  {
    std::optional<TargetReservation> kept =
        TargetReservation::Reserve(entry, out.path(), false, lock);
    ASSERT_TRUE(kept);
    kept->Keep();
  }
  EXPECT_TRUE(fs::exists(out / "x.jpg"));
}

TEST(TargetReservation, WrittenFileIsNeverRemoved) {
  TempFolder out;
  OutputNameLock lock;
  PictureEntry entry = Entry("/src/x.png");
  {
    // Written through a temporary file that replaced the reserved one.
    std::optional<TargetReservation> replaced =
        TargetReservation::Reserve(entry, out.path(), false, lock);
    ASSERT_TRUE(replaced);
    ASSERT_TRUE(WriteFileAtomically(replaced->path(), ""));
    EXPECT_FALSE(replaced->Discard());
  }
  EXPECT_TRUE(fs::exists(out / "x.jpg"));
  {
    // Written in place.
    std::optional<TargetReservation> filled =
        TargetReservation::Reserve(entry, out.path(), false, lock);
    ASSERT_TRUE(filled);
    EXPECT_EQ(filled->path(), out / "x(2).jpg");
    test::WriteFile(filled->path(), "jpeg");
  }
  EXPECT_EQ(test::ReadFile(out / "x(2).jpg"), "jpeg");
}

TEST(TargetReservation, MovedReservationRemovesOnce) {
  TempFolder out;
  OutputNameLock lock;
  std::optional<TargetReservation> a =
      TargetReservation::Reserve(Entry("/s/a.png"), out.path(), false, lock);
  std::optional<TargetReservation> b =
      TargetReservation::Reserve(Entry("/s/b.png"), out.path(), false, lock);
  ASSERT_TRUE(a && b);
  TargetReservation moved = std::move(*a);
  *b = std::move(moved);  // b's own file goes; a's file now belongs to b
  EXPECT_FALSE(fs::exists(out / "b.jpg"));
  EXPECT_TRUE(fs::exists(out / "a.jpg"));
  b.reset();
  a.reset();
  EXPECT_FALSE(fs::exists(out / "a.jpg"));
}

TEST(TargetReservation, TwoWorkersNeverShareAName) {
  TempFolder out;
  OutputNameLock lock;
  constexpr int kPerWorker = 40;
  std::vector<fs::path> names[2];
  auto worker = [&](int index, const char* source) {
    PictureEntry entry = Entry(source, "Holiday");
    for (int i = 0; i < kPerWorker; ++i) {
      std::optional<TargetReservation> reserved =
          TargetReservation::Reserve(entry, out.path().string() + "/", true, lock);
      if (!reserved) return;
      reserved->Keep();
      names[index].push_back(reserved->path());
    }
  };
  fs::create_directory(out / "Holiday");
  std::thread first(worker, 0, "/pics/Holiday/x.png");
  std::thread second(worker, 1, "/pics/Holiday/x.bmp");
  first.join();
  second.join();

  std::set<fs::path> all;
  for (const auto& list : names) all.insert(list.begin(), list.end());
  ASSERT_EQ(all.size(), 2u * kPerWorker);
  for (int i = 1; i <= 2 * kPerWorker; ++i) {
    std::string name = i == 1 ? "x.jpg" : "x(" + std::to_string(i) + ").jpg";
    EXPECT_EQ(all.count(out / "Holiday" / name), 1u) << name;
  }
}

}  // namespace
}  // namespace brindle
