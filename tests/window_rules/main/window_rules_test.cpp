// The main window's rules that need no window: its size, its status texts and enabled commands,
// the choosers' path limits, the picture pane's geometry and the desktop launcher.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"
#include "window_rules/dialogs/chooser_limits.h"
#include "window_rules/list/list_status.h"
#include "window_rules/main/desktop_launcher.h"
#include "window_rules/main/main_window_size.h"
#include "window_rules/panel/settings_menu.h"
#include "window_rules/widgets/picture_pane_geometry.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

TEST(MainWindowRules, SizeStatusAndCommands) {
  EXPECT_EQ(MainWindowClientSize(1920, 1040).width, 1260);
  EXPECT_EQ(MainWindowClientSize(1920, 1040).height, 953);
  EXPECT_EQ(MainWindowClientSize(1024, 724).width, 1016);
  EXPECT_EQ(MainWindowClientSize(1024, 724).height, 676);
  EXPECT_EQ(MainWindowClientSize(1024, 723).height, 642);
  EXPECT_EQ(MainWindowClientSize(800, 400).height, 480);
  const WindowCorner progress = CentredCorner(0, 24, 1600, 976, 346, 85, 26);
  EXPECT_EQ(progress.x, 627);
  EXPECT_EQ(progress.y, 24 + 445 - 26);

  EXPECT_EQ(ListCountText(0, false), "0 张图片");
  EXPECT_EQ(ListCountText(12, true), "12 张图片, 正在生成缩略图...");
  int asked = 0;
  auto line = [&] {
    ++asked;
    return std::string("尺寸: 8 x 8");
  };
  EXPECT_EQ(SelectionText(0, line), "");
  EXPECT_EQ(SelectionText(2, line), "选中了 2 张图片");
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(SelectionText(1, line), "尺寸: 8 x 8");

  const ListCommandStates empty = ListCommandStatesOf(0, 0);
  EXPECT_TRUE(empty.empty_hint);
  EXPECT_FALSE(empty.start || empty.remove || empty.remove_all || empty.view_original);
  const ListCommandStates unselected = ListCommandStatesOf(3, 0);
  EXPECT_TRUE(unselected.start && unselected.remove_all);
  EXPECT_FALSE(unselected.remove || unselected.empty_hint);

  EXPECT_EQ(CheckedCmykChoice("USWebCoatedSWOP.icc"), 0);
  EXPECT_EQ(CheckedCmykChoice("default_cmyk.icc"), 1);
}

// "/" + `count` times `letter` + `tail`, built by appending (GCC 12 at -O3 misreads operator+).
fs::path PathOf(std::size_t count, char letter, const char* tail = "") {
  return std::string("/").append(count, letter).append(tail);
}

TEST(MainWindowRules, ChosenPathsAreLimitedTo259GbkBytes) {
  // A folder of 201 bytes, then a file name of 57 or 58.
  const fs::path fits = PathOf(200, 'f') / std::string(53, 'n').append(".jpg");
  ASSERT_EQ(fits.string().size(), 259u);
  EXPECT_FALSE(CheckChosenPaths({fits}, ChooserKind::kOpenSeveral));
  const fs::path too_long = PathOf(200, 'f') / std::string(54, 'n').append(".jpg");
  std::optional<std::string> refusal =
      CheckChosenPaths({fits, too_long}, ChooserKind::kOpenSeveral);
  ASSERT_TRUE(refusal);
  const std::string expected =
      std::string("文件路径长度不能大于 259 个字符！\n\n当前文件路径长度：260 个字符\n")
          .append(too_long.string());
  EXPECT_EQ(refusal->rfind(expected, 0), 0u) << *refusal;
  // A Chinese character counts two bytes.
  const fs::path chinese = PathOf(250, 'f', "/图片.jpg");
  EXPECT_NE(CheckChosenPaths({chinese}, ChooserKind::kOpenOne)->find("当前选择的文件路径长度：260"),
            std::string::npos);
  EXPECT_TRUE(CheckChosenFolder(PathOf(259, 'f')));
  EXPECT_FALSE(CheckChosenFolder(PathOf(258, 'f')));
}

TEST(MainWindowRules, PicturePaneFitsScrollsAndNotesTheZoom) {
  // A tall picture at natural size: centred across, scrolled down, a vertical bar only.
  PaneLayout natural = LayOutPane(760, 580, 500, 4000, false, 0, 120);
  EXPECT_EQ(natural.x, 130);
  EXPECT_EQ(natural.y, 8 - 120);
  EXPECT_TRUE(natural.vertical_bar);
  EXPECT_FALSE(natural.horizontal_bar);
  // Fitted: 564 / 4000 of its size, no bars.
  PaneLayout fitted = LayOutPane(760, 580, 500, 4000, true, 0, 120);
  EXPECT_FLOAT_EQ(fitted.zoom, 564.0F / 4000.0F);
  EXPECT_NEAR(fitted.drawn_height, 564, 1);
  EXPECT_EQ(fitted.drawn_width, 70);
  EXPECT_FALSE(fitted.vertical_bar);
  EXPECT_EQ(TitleWithZoomNote("a.jpg【预览缩放: 50%】", fitted.zoom), "a.jpg【预览缩放: 14%】");
  EXPECT_EQ(TitleWithZoomNote("a.jpg【预览缩放: 50%】", 1.0F), "a.jpg");
  EXPECT_FALSE(DoubleClickTogglesFit(760, 580, 100, 100, false));
  EXPECT_TRUE(DoubleClickTogglesFit(760, 580, 100, 4000, false));
}

TEST(MainWindowRules, DesktopLauncherStartsTheProgram) {
  test::TempFolder desktop;
  ASSERT_TRUE(WriteDesktopLauncher(desktop.path(), "/opt/my $tools/brindle"));
  const fs::path file = desktop / "图片批量处理工具.desktop";
  const std::string text = test::ReadFile(file);
  EXPECT_NE(text.find("Exec=\"/opt/my \\$tools/brindle\" %F\n"), std::string::npos) << text;
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
  EXPECT_FALSE(WriteDesktopLauncher(desktop / "missing", "/usr/bin/brindle"));
}

}  // namespace
}  // namespace brindle

namespace brindle {
namespace {

TEST(ListStatus, SelectedRunsJoinedAndCountedAndTheThumbnailInHand) {
  EXPECT_EQ(JoinRowRuns({{5, 9}, {0, 2}, {3, 3}, {8, 12}, {20, 20}, {7, 6}}),
            (RowRuns{{0, 3}, {5, 12}, {20, 20}}));
  EXPECT_EQ(RowsIn(JoinRowRuns({{5, 9}, {0, 2}, {3, 3}, {8, 12}})), 12);
  EXPECT_EQ(RowsIn({}), 0);
  EXPECT_EQ(ListThumbnailText(120, 7), "120 张图片, 正在生成第 7 张图片的缩略图...");
}

}  // namespace
}  // namespace brindle
