#pragma once
// The main of a desktop-program test: a temporary home with its XDG folders, set before Qt reads
// them, and the offscreen platform unless another is asked for.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/main/app_context.h"
#include "app/main/app_start.h"
#include "app/main/main_window.h"
#include "platform/files/app_folders.h"
#include "support/test_support.h"

namespace brindle::test {

// The program's folders inside the temporary home, with the data folder of the build.
inline AppFolders AppTestFolders() {
  AppFolders folders;
  folders.config =
      std::filesystem::path(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString()) / "brindle";
  folders.temp =
      std::filesystem::path(qEnvironmentVariable("XDG_CACHE_HOME").toStdString()) / "brindle/temp";
  folders.data = DataFolder();
  return folders;
}

// ImageMagick and the program's context started as the desktop program starts them.
inline std::optional<AppContext> StartTestProgram(Dialogs& dialogs) {
  EnsureMagick();
  PrepareApplication();
  return LoadAppContext(AppTestFolders(), dialogs);
}

// The control with this object name below parent; the test stops when there is none.
template <typename W>
W* Find(QWidget& parent, std::string_view name) {
  auto* widget =
      parent.findChild<W*>(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
  if (!widget) qFatal("no control %s", std::string(name).c_str());
  return widget;
}

// The settings menu's entry with this text, from a menu made again for each call (the previous one
// is deleted; the window owns it meanwhile).
inline QAction* SettingsMenuAction(MainWindow& window, QPointer<QMenu>& menu, const QString& text) {
  delete menu;
  menu = window.BuildSettingsMenu();
  for (QAction* action : menu->actions()) {
    if (action->text() == text) return action;
  }
  qFatal("no menu entry %s", qPrintable(text));
}

template <typename Test>
int RunAppTest(int argc, char** argv) {
  static TempFolder home;
  for (const char* name : {"config", "cache", "data"}) {
    std::filesystem::create_directories(home / name);
  }
  setenv("HOME", home.path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
  setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  Test test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace brindle::test
