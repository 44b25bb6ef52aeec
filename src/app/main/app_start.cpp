#include "app/main/app_start.h"

#include <QApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/dialogs/dialogs.h"
#include "app/main/app_context.h"
#include "app/main/main_window.h"
#include "platform/magick/magick_environment.h"
#include "platform/magick/pixel_memory_pool.h"

static void InitResources() { Q_INIT_RESOURCE(icons); }

namespace brindle {

namespace {

// Qt's own limit (128 MB) refuses a 1000 x 40000 picture; 1 GB still refuses absurd sizes.
constexpr int kImageAllocationLimitMb = 1024;

}  // namespace

bool LoadQtTranslations() {
  // Qt's own texts (message box buttons, the choosers) follow the program's language, not the
  // user's environment.
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  static QTranslator* installed = nullptr;
  if (installed) return true;
  auto* translator = new QTranslator(qApp);
  if (!translator->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

void PrepareApplication() {
  InitResources();
  LoadQtTranslations();
  QImageReader::setAllocationLimit(kImageAllocationLimitMb);
  QApplication::setWindowIcon(QIcon(":/icons/brindle.svg"));
}

int RunDesktopProgram(const QStringList& paths, Dialogs& dialogs) {
  PrepareApplication();
  const AppFolders folders = AppFolders::ForCurrentUser();
  UsePixelMemoryPool();
  MagickEnvironment magick(folders.MagickConfigFolder());
  if (!magick.usable()) {
    dialogs.Tell(nullptr, "提示", QString::fromStdString(magick.error()), MessageIcon::kWarning);
    return 255;
  }
  std::optional<AppContext> context = LoadAppContext(folders, dialogs);
  if (!context) return 255;
  MainWindow window(*context, dialogs);
  window.show();
  if (!paths.isEmpty()) {
    std::vector<std::filesystem::path> list;
    for (const QString& path : paths) list.emplace_back(path.toStdString());
    window.AddPaths(list);
  }
  return QApplication::exec();
}

}  // namespace brindle
