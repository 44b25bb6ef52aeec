// The main window's commands: the toolbar, the list's context menu, the settings menu with its
// recipe files, and the toolbar's small commands (the desktop shortcut, about).
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <type_traits>

#include "app/dialogs/auto_fill_dialog.h"
#include "app/dialogs/dialogs.h"
#include "app/dialogs/font_mapping_dialog.h"
#include "app/dialogs/save_mode_dialog.h"
#include "app/list/picture_list_model.h"
#include "app/main/main_window.h"
#include "app/panel/settings_panel.h"
#include "app/tools/convert/convert_window.h"
#include "app/tools/crop/crop_window.h"
#include "app/tools/join/join_window.h"
#include "app/tools/png/png_window.h"
#include "app/tools/slice/slice_window.h"
#include "base/info_log.h"
#include "base/maker_web_site.h"
#include "base/product_name.h"
#include "panel/values/panel_choices.h"
#include "recipe/options_file.h"
#include "window_rules/list/list_status.h"
#include "window_rules/main/desktop_launcher.h"
#include "window_rules/panel/recipe_files.h"
#include "window_rules/panel/settings_menu.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

struct ToolbarCommand {
  const char* name;  // the action's object name
  const char* icon;
  const char* text;
  const char* tip;  // nullptr: the text
};

// In toolbar order; nullptr names mark separators.
constexpr ToolbarCommand kToolbar[] = {
    {"add_picture", "add-picture", "添加图片", nullptr},
    {"add_folder", "add-folder", "添文件夹", "添加图片文件夹"},
    {"remove_picture", "remove-picture", "移除图片", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"rotate_left", "rotate-left", "图片左转", nullptr},
    {"rotate_right", "rotate-right", "图片右转", nullptr},
    {"flip_horizontal", "flip-horizontal", "水平翻转", nullptr},
    {"flip_vertical", "flip-vertical", "垂直翻转", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"preview", "preview", "效果预览", "根据图片相关设置，在开始处理前先预览一下效果。"},
    {"start", "start", "开始处理", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"png_tool", "png", "处理PNG", nullptr},
    {"join_tool", "join", "图片拼接", nullptr},
    {"slice_tool", "slice", "图片切片", nullptr},
    {"crop_tool", "crop", "图片裁剪", nullptr},
    {"convert_tool", "convert", "格式转换", nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"shortcut", "shortcut", "快捷方式", "在桌面创建一个快捷启动方式"},
    {"website", "website", "官方网站", nullptr},
    {"about", "about", "关于", nullptr},
    {"guide", "guide", "使用指南",
     "将鼠标移动到软件界面的控件上，按 F1 键，将显示与该控件相关的使用说明。"},
    {nullptr, nullptr, nullptr, nullptr},
    {"settings", "settings", "软件设置", nullptr},
};

constexpr const char* kRecipeFilter = "图片设置文件 (*.sz)";

}  // namespace

void MainWindow::BuildToolBar() {
  auto* bar = addToolBar("工具栏");
  bar->setObjectName("toolbar");
  bar->setMovable(false);
  bar->setIconSize(QSize(32, 32));
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  for (const ToolbarCommand& command : kToolbar) {
    if (!command.name) {
      bar->addSeparator();
      continue;
    }
    auto* act = new QAction(QIcon(QString(":/icons/%1.svg").arg(command.icon)), command.text, this);
    act->setObjectName(command.name);
    act->setToolTip(command.tip ? command.tip : command.text);
    bar->addAction(act);
  }
  connect(action("add_picture"), &QAction::triggered, this, &MainWindow::AddPictures);
  connect(action("add_folder"), &QAction::triggered, this, &MainWindow::AddFolder);
  connect(action("remove_picture"), &QAction::triggered, this, &MainWindow::RemoveSelected);
  connect(action("rotate_left"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kRotateLeft); });
  connect(action("rotate_right"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kRotateRight); });
  connect(action("flip_horizontal"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kFlipHorizontally); });
  connect(action("flip_vertical"), &QAction::triggered, this,
          [this] { Orient(OrientationCommand::kFlipVertically); });
  connect(action("shortcut"), &QAction::triggered, this, &MainWindow::MakeDesktopShortcut);
  connect(action("about"), &QAction::triggered, this, &MainWindow::ShowAbout);
  const QString site = QString("https://%1/").arg(kMakerWebSiteHost);
  connect(action("website"), &QAction::triggered, this,
          [this, site] { dialogs_.OpenInDesktop(site); });
  connect(action("guide"), &QAction::triggered, this,
          [this, site] { dialogs_.OpenInDesktop(site); });
  action("preview")->setCheckable(true);
  connect(action("preview"), &QAction::triggered, this, &MainWindow::TogglePreview);
  connect(action("start"), &QAction::triggered, this, &MainWindow::StartBatch);
  // Each tool window is made when first asked for, then kept.
  auto tool = [this](const char* name, auto*& window) {
    connect(action(name), &QAction::triggered, this, [this, &window] {
      if (!window)
        window = new std::remove_reference_t<decltype(*window)>(context_, dialogs_, *this);
      window->Open();
    });
  };
  tool("convert_tool", convert_window_);
  tool("png_tool", png_window_);
  tool("slice_tool", slice_window_);
  tool("crop_tool", crop_window_);
  tool("join_tool", join_window_);
  auto* settings = qobject_cast<QToolButton*>(bar->widgetForAction(action("settings")));
  connect(action("settings"), &QAction::triggered, this, [this, settings] {
    QMenu* menu = BuildSettingsMenu();
    menu->exec(settings->mapToGlobal(QPoint(0, settings->height())));
    menu->deleteLater();
  });
}

void MainWindow::ShowListMenu(const QPoint& at) {
  const ListCommandStates states =
      ListCommandStatesOf(model_->rowCount(), RowsIn(SelectedRuns()));
  QMenu menu(this);
  menu.addAction("添加图片", this, &MainWindow::AddPictures);
  menu.addAction("添加文件夹", this, &MainWindow::AddFolder);
  menu.addSeparator();
  menu.addAction("移除选中", this, &MainWindow::RemoveSelected)->setEnabled(states.remove);
  menu.addAction("移除全部", this, &MainWindow::RemoveAll)->setEnabled(states.remove_all);
  menu.addSeparator();
  QAction* thumbnails = menu.addAction("显示缩略图", this, &MainWindow::ToggleThumbnails);
  thumbnails->setCheckable(true);
  thumbnails->setChecked(model_->thumbnails_on());
  menu.addSeparator();
  menu.addAction("查看原图", this, &MainWindow::ViewOriginal)->setEnabled(states.view_original);
  auto* view = qobject_cast<QWidget*>(sender());
  menu.exec(view ? view->mapToGlobal(at) : QCursor::pos());
}

QMenu* MainWindow::BuildSettingsMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName("settings_menu");
  auto toggle = [&](const char* text, const NumberPreference& preference, auto&& after) {
    QAction* act = menu->addAction(text);
    act->setCheckable(true);
    act->setChecked(ReadPreference(context_.store, preference) != 0);
    connect(act, &QAction::toggled, this, [this, &preference, after](bool on) {
      WritePreference(context_.store, preference, on ? 1 : 0);
      after(on);
    });
  };
  toggle("显示缩略图", pref::kIsShowThumbnail, [this](bool on) { SetThumbnails(on); });
  toggle("解析图片文件获取真实的图片格式", pref::kIsReadFileParseFileFormat,
         [this](bool on) { add_state_.parse_file_format = on; });
  toggle("记住【处理后保存到】的路径, 每次启动时使用", pref::kIsRecordSaveToPath, [](bool) {});
  toggle("处理后保留原图片的修改时间", pref::kKeepFileTime, [](bool) {});
  menu->addSeparator();
  menu->addAction("设置图片处理完成后, 下一次的保存模式...", this,
                  [this] { SaveModeDialog(context_.store, dialogs_, this).exec(); });
  menu->addAction("自动填充设置...", this,
                  [this] { AutoFillDialog(context_.store, dialogs_, this).exec(); });
  menu->addAction("字体文件映射...", this, &MainWindow::OpenFontMapping);
  toggle("使用代理服务器 - 来自浏览器设置", pref::kProxyType, [](bool) {});
  menu->addSeparator();

  QMenu* threads = menu->addMenu("处理图片的线程模型");
  const int model = NormalizeThreadModel(ReadPreference(context_.store, pref::kUseThreadModel));
  auto* thread_group = new QActionGroup(threads);
  for (const MenuChoice& choice : ThreadModelChoices()) {
    QAction* act = threads->addAction(choice.text);
    act->setCheckable(true);
    act->setActionGroup(thread_group);
    const int value = std::stoi(choice.stored);
    act->setChecked(value == model);
    connect(act, &QAction::triggered, this,
            [this, value] { WritePreference(context_.store, pref::kUseThreadModel, value); });
  }

  QMenu* cmyk = menu->addMenu("CMYK色彩图片缺省ICC配置文件");
  const int checked = CheckedCmykChoice(ReadPreference(context_.store, pref::kCmykDefaultIcc));
  auto* cmyk_group = new QActionGroup(cmyk);
  for (std::size_t i = 0; i < CmykProfileChoices().size(); ++i) {
    const MenuChoice& choice = CmykProfileChoices()[i];
    QAction* act = cmyk->addAction(choice.text);
    act->setCheckable(true);
    act->setActionGroup(cmyk_group);
    act->setChecked(static_cast<int>(i) == checked);
    const std::string stored = choice.stored;
    connect(act, &QAction::triggered, this, [this, stored] {
      WritePreference(context_.store, pref::kCmykDefaultIcc, stored);
      context_.preferences.cmyk_default_icc = stored;
      CmykProfileLoad load =
          LoadCmykProfile(context_.folders.IccFolder(), stored, context_.profiles);
      if (!load.message.empty()) {
        dialogs_.Tell(this, kProfileMessageCaption, QString::fromStdString(load.message),
                      MessageIcon::kError);
      }
      RefreshPreview();
    });
  }
  AddRecipeMenu(menu);
  return menu;
}

void MainWindow::AddRecipeMenu(QMenu* menu) {
  menu->addSeparator();
  menu->addAction("保存当前图片设置...", this, &MainWindow::SaveRecipeAs);
  menu->addSeparator();
  const fs::path folder = context_.folders.RecipeFolder();
  const std::vector<fs::path> recent = RecentRecipes(folder);
  for (const fs::path& file : recent) {
    // A "&" in a name is shown as typed, not as a shortcut mark.
    QString text = QString::fromStdString(RecentRecipeMenuText(file));
    text.replace("&", "&&");
    menu->addAction(text, this, [this, file] { LoadRecipeFile(file); });
  }
  if (!recent.empty()) menu->addSeparator();
  menu->addAction("加载图片默认设置", this, [this] {
    const fs::path file = context_.folders.DefaultRecipeFile();
    if (!WriteDefaultOptionsFile(file)) {
      dialogs_.Tell(this, "错误", QString::fromStdString(WriteFailureText(file)),
                    MessageIcon::kError);
      return;
    }
    LoadRecipeFile(file);
  });
  menu->addSeparator();
  menu->addAction("加载图片设置...", this, [this, folder] {
    EnsureRecipeFolder(folder);
    const QString chosen = dialogs_.ChooseOpenFile(this, "加载图片处理的相关设置", kRecipeFilter,
                                                   QString::fromStdString(folder.string()));
    if (!chosen.isEmpty()) LoadRecipeFile(chosen.toStdString());
  });
}

void MainWindow::SaveRecipeAs() {
  if (!panel_->Validate()) return;
  const fs::path folder = context_.folders.RecipeFolder();
  if (std::optional<std::string> failure = EnsureRecipeFolder(folder)) {
    dialogs_.Tell(this, "错误", QString::fromStdString(*failure), MessageIcon::kError);
    return;
  }
  const QString chosen =
      dialogs_.ChooseSaveFile(this, "保存当前图片处理的相关设置到文件", kRecipeFilter,
                              QString::fromStdString(folder.string()));
  if (chosen.isEmpty()) return;
  // Saying nothing when the file could not be written would leave the user believing it was.
  if (std::optional<std::string> failure =
          SaveRecipeFile(context_.recipe, RecipeSavePath(chosen.toStdString()), folder)) {
    dialogs_.Tell(this, "错误", QString::fromStdString(*failure), MessageIcon::kError);
  }
}

void MainWindow::LoadRecipeFile(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    dialogs_.Tell(this, "错误", QString::fromStdString(MissingRecipeText(file)),
                  MessageIcon::kError);
    return;
  }
  if (!panel_->LoadRecipeFile(file)) {
    dialogs_.Tell(
        this, "错误",
        QString::fromStdString(FormatMessage("无法读取图片处理设置文件:[%s]", file.c_str())),
        MessageIcon::kError);
    return;
  }
  RefreshPreview();
}

void MainWindow::OpenFontMapping() {
  if (!font_mapping_) {
    font_mapping_ = new FontMappingDialog(context_, dialogs_, *balloons_, *panel_, this);
  }
  font_mapping_->exec();
}

void MainWindow::MakeDesktopShortcut() {
  const fs::path desktop = DesktopFolder().toStdString();
  const fs::path executable = QApplication::applicationFilePath().toStdString();
  if (WriteDesktopLauncher(desktop, executable)) {
    dialogs_.Tell(this, "提示", kLauncherCreatedText, MessageIcon::kInformation);
  } else {
    dialogs_.Tell(
        this, "错误",
        QString("无法在桌面上创建快捷方式：%1").arg(QString::fromStdString(desktop.string())),
        MessageIcon::kError);
  }
}

void MainWindow::ShowAbout() {
  dialogs_.Tell(this, "关于",
                QString::fromStdString(ProductTitleWithVersion()) +
                    "\n\n一次设置，批量处理成百上千张图片：缩放、压缩、文字和图片水印、边框、"
                    "色调、黑白、去除Exif、色彩空间与分辨率，另有格式转换、裁剪、拼接、切片和"
                    "PNG工具。",
                MessageIcon::kInformation);
}

}  // namespace brindle
