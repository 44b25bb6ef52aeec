#include <QApplication>
#include <QDir>

#include "app/dialogs/dialogs.h"
#include "app/main/app_start.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList paths;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    paths << QDir::current().absoluteFilePath(argument);
  }
  brindle::Dialogs dialogs;
  return brindle::RunDesktopProgram(paths, dialogs);
}
