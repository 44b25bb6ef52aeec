// `make screenshots`: the desktop program's windows in their usual states, drawn by the real
// platform (under xvfb-run) with the sample pictures, written as PNG files for a person to look at.
#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QScreen>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/dialogs/auto_fill_dialog.h"
#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/dialogs.h"
#include "app/dialogs/font_mapping_dialog.h"
#include "app/dialogs/save_mode_dialog.h"
#include "app/list/picture_list_model.h"
#include "app/main/app_context.h"
#include "app/main/app_start.h"
#include "app/main/main_window.h"
#include "app/main/picture_viewer.h"
#include "app/main/progress_window.h"
#include "app/panel/settings_panel.h"
#include "app/tools/common/output_controls.h"
#include "app/tools/convert/convert_window.h"
#include "app/tools/crop/crop_window.h"
#include "app/tools/join/join_window.h"
#include "app/tools/png/png_window.h"
#include "app/tools/slice/slice_window.h"
#include "fonts/font_mapping.h"
#include "panel/values/panel_choices.h"
#include "platform/text/font_config.h"
#include "prefs/preferences.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using namespace brindle;

namespace {

bool Save(QWidget& window, const QString& folder, const char* name) {
  QTest::qWait(300);  // let thumbnails and layouts settle
  const QString file = folder + "/" + name;
  const bool saved = window.grab().save(file);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
  return saved;
}

// The screen where a window stands, with the hint windows above it (a window's own grab leaves
// them out).
bool SaveScreenArea(QWidget& window, const QString& folder, const char* name) {
  QTest::qWait(300);
  const QString file = folder + "/" + name;
  const QRect area = window.frameGeometry();
  const bool saved = window.screen()
                         ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                         .save(file);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
  return saved;
}

// The program's own box or chooser, drawn once it is open and then closed by its Cancel.
bool SaveModal(const QString& folder, const char* name, const std::function<void()>& open) {
  bool saved = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    saved = Save(*modal, folder, name);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
  open();
  return saved;
}

// Boxes are printed instead of shown, and questions answered No, so nothing waits for a person.
class PrintedDialogs : public Dialogs {
 public:
  void Tell(QWidget*, const QString& caption, const QString& text, MessageIcon) override {
    std::printf("box %s: %s\n", qPrintable(caption), qPrintable(text));
  }
  bool AskYesNo(QWidget*, const QString& caption, const QString& text, MessageIcon) override {
    std::printf("question %s: %s\n", qPrintable(caption), qPrintable(text));
    return false;
  }
  bool AskOkCancel(QWidget*, const QString& caption, const QString& text, MessageIcon) override {
    std::printf("question %s: %s\n", qPrintable(caption), qPrintable(text));
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: brindle_screenshots SAMPLE_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  static test::TempFolder home;
  setenv("HOME", home.path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
  QApplication app(argc, argv);
  PrepareApplication();
  test::EnsureMagick();
  const QString output = QDir(argv[2]).absolutePath();
  QDir().mkpath(output);

  AppFolders folders;
  folders.config = home / "config/brindle";
  folders.temp = home / "cache/brindle/temp";
  folders.data = test::DataFolder();
  PrintedDialogs dialogs;
  std::optional<AppContext> context = LoadAppContext(folders, dialogs);
  if (!context) return 1;
  MainWindow window(*context, dialogs);
  window.resize(1280, 800);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  bool ok = Save(window, output, "main-empty.png");

  window.AddPaths({fs::absolute(argv[1])});
  ok = SaveScreenArea(window, output, "main-preview-tip.png") && ok;
  window.balloons().DismissAll();
  ok = QTest::qWaitFor([&] { return window.model().worker().pending() == 0; }, 20000) && ok;
  window.selection().select(window.model().index(0, 0),
                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  ok = Save(window, output, "main-icons.png") && ok;

  window.action("rotate_right")->trigger();
  ok = QTest::qWaitFor([&] { return window.model().worker().pending() == 0; }, 20000) && ok;
  ok = Save(window, output, "main-icons-turned.png") && ok;

  // The panel as a whole column: every group collapsed, then every group open.
  QWidget& column = *window.panel().widget();
  ok = Save(column, output, "panel-collapsed.png") && ok;
  PanelValues values = window.panel().values();
  values.resize = values.quality = values.text_watermark = values.image_watermark = true;
  values.border = values.light.on = values.dpi = values.colour_space = true;
  values.image_path = (fs::absolute(argv[1]) / "transparent.png").string();
  values.text = "Brindle 水印";
  fs::create_directories(home / "out");
  ChooseSaveFolder(values, (home / "out").string());
  window.panel().SetValues(values);
  ok = Save(column, output, "panel-open.png") && ok;

  window.action("preview")->trigger();
  ok = QTest::qWaitFor([&] { return window.preview_shown(); }) && ok;
  ok = Save(window, output, "effect-preview.png") && ok;
  window.action("preview")->trigger();

  // A run over every sample, drawn while its second picture is being made, then stopped.
  window.selection().clearSelection();
  window.action("start")->trigger();
  ok = window.progress().isVisible() && ok;
  ok = Save(window.progress(), output, "progress.png") && ok;
  window.progress().stop_button()->click();
  ok = QTest::qWaitFor([&] { return !window.running(); }, 60000) && ok;

  QMenu* menu = window.BuildSettingsMenu();
  menu->actions().front()->trigger();  // "显示缩略图": off, the report view
  ok = Save(window, output, "main-report.png") && ok;

  const fs::path first = window.model().list()[0].path;
  window.viewer().ShowFile(QString::fromStdString(first.string()),
                           QString::fromStdString(folders.temp.string()));
  if (!QTest::qWaitForWindowExposed(&window.viewer())) return 1;
  ok = Save(window.viewer(), output, "viewer.png") && ok;

  // Qt's own boxes and choosers as the program shows them.
  Dialogs real;
  ok = SaveModal(output, "question.png", [&] {
         real.AskOkCancel(&window, "询问",
                          "当前正在处理图片，关闭窗口将中断当前的图片处理。\n\n确定要关闭窗口吗？",
                          MessageIcon::kQuestion);
       }) && ok;
  ok = SaveModal(output, "yes-no.png", [&] {
         real.AskYesNo(&window, "确认", "是否需要加载所有子文件夹中的图片？");
       }) && ok;
  ok = SaveModal(output, "file-chooser.png", [&] {
         QString remembered = QString::fromStdString(fs::absolute(argv[1]).string());
         real.ChooseFiles(&window, "选择图片 - 支持多选",
                          "图片文件(*.JPG;*.GIF;*.PNG;*.BMP) (*.JPG *.jpg *.GIF *.gif *.PNG *.png "
                          "*.BMP *.bmp);;JPG图片 (*.JPG) (*.jpg *.jpeg *.JPG *.JPEG)",
                          remembered);
       }) && ok;
  ok = SaveModal(output, "folder-chooser.png", [&] {
         real.ChooseFolder(&window, "添加图片文件夹：",
                           QString::fromStdString(fs::absolute(argv[1]).string()),
                           {"加载所有图片", "JPG图片  (*.jpg)"});
       }) && ok;

  // The settings menu's preference dialogs: the save mode as first opened, then in mode 2 with its
  // flags enabled.
  for (const int mode : {0, 2}) {
    WritePreference(context->store, pref::kPicSaveMode, mode);
    WritePreference(context->store, pref::kPicSaveDefaultSelectOverwrite, mode == 2 ? 1 : 0);
    SaveModeDialog save_mode(context->store, dialogs, &window);
    save_mode.show();
    if (!QTest::qWaitForWindowExposed(&save_mode)) return 1;
    ok = Save(save_mode, output, mode == 0 ? "save-mode.png" : "save-mode-2.png") && ok;
  }
  AutoFillDialog auto_fill(context->store, dialogs, &window);
  auto_fill.show();
  if (!QTest::qWaitForWindowExposed(&auto_fill)) return 1;
  ok = Save(auto_fill, output, "auto-fill.png") && ok;
  auto_fill.hide();

  // The conversion tool on the sample folder, JPG then PNG-8.
  window.action("convert_tool")->trigger();
  ConvertWindow& convert = *window.convert_window();
  convert.TakeDrop({fs::absolute(argv[1])});
  if (!QTest::qWaitForWindowExposed(&convert)) return 1;
  ok = Save(convert, output, "convert.png") && ok;
  convert.output_controls().Set(ToolOutputFormat::kPng, 90, true, true, 64);
  ok = Save(convert, output, "convert-png8.png") && ok;
  convert.close();

  // The PNG tool on the sample folder.
  window.action("png_tool")->trigger();
  PngWindow& png = *window.png_window();
  png.TakeDrop({fs::absolute(argv[1])});
  if (!QTest::qWaitForWindowExposed(&png)) return 1;
  ok = Save(png, output, "png-tool.png") && ok;
  png.close();

  // The slice tool on the sample folder.
  window.action("slice_tool")->trigger();
  SliceWindow& slice = *window.slice_window();
  slice.TakeDrop({fs::absolute(argv[1])});
  if (!QTest::qWaitForWindowExposed(&slice)) return 1;
  ok = Save(slice, output, "slice.png") && ok;
  slice.close();

  // The crop tool with its preview of the first sample: 60 % of each side, centred.
  context->store.WriteNumber("", "crop_source_type", 0);
  context->store.WriteNumber("", "crop_mode", 1);
  context->store.WriteNumber("", "crop_percent_width", 60);
  context->store.WriteNumber("", "crop_percent_height", 60);
  window.action("crop_tool")->trigger();
  CropWindow& crop = *window.crop_window();
  if (!QTest::qWaitForWindowExposed(&crop)) return 1;
  crop.TakeDrop({fs::absolute(argv[1])});
  ok = QTest::qWaitFor([&] { return !crop.preview_pending(); }, 30000) && ok;
  ok = Save(crop, output, "crop.png") && ok;
  crop.close();

  // The join tool with the samples joined side by side, 10 pixels apart.
  context->store.WriteNumber("", "join_source_type", 0);
  context->store.WriteNumber("", "join_layout", 2);
  context->store.WriteNumber("", "join_space", 10);
  window.action("join_tool")->trigger();
  JoinWindow& join = *window.join_window();
  if (!QTest::qWaitForWindowExposed(&join)) return 1;
  join.TakeDrop({fs::absolute(argv[1])});
  ok = QTest::qWaitFor([&] { return !join.preview_pending(); }, 60000) && ok;
  ok = Save(join, output, "join.png") && ok;
  join.close();

  // The font mappings: two stored ones listed, the second selected; then the add dialog filled in.
  const std::vector<InstalledFont> installed = ListInstalledFonts();
  if (installed.empty()) return 1;
  const std::string first_file = installed.front().file.string();
  const std::string last_file = installed.back().file.string();
  context->store.WriteText(kFontsKey, "我的楷体", first_file);
  context->store.WriteText(kFontsKey, "Handwriting Sans", last_file);
  FontMappingDialog mapping(*context, dialogs, window.balloons(), window.panel(), &window);
  QTimer::singleShot(0, &mapping, [&] {
    auto* list = mapping.findChild<QTreeWidget*>("font_mappings");
    list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() - 1));
    ok = Save(mapping, output, "font-mapping.png") && ok;
    mapping.reject();
  });
  mapping.exec();
  FontMappingAddDialog add(*context, dialogs, window.balloons(), &window);
  add.findChild<QLineEdit*>(QString::fromUtf8(kMappingNameControl))->setText("方正小标宋");
  add.findChild<QLineEdit*>(QString::fromUtf8(kMappingPathControl))
      ->setText(QString::fromStdString(first_file));
  add.show();
  if (!QTest::qWaitForWindowExposed(&add)) return 1;
  ok = Save(add, output, "font-mapping-add.png") && ok;
  return ok ? 0 : 1;
}
