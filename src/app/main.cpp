#include <QApplication>
#include <QDir>

#include "app/app_start.h"
#include "app/dialogs.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList paths;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    paths << QDir::current().absoluteFilePath(argument);
  }
  brindle::Dialogs dialogs;
  return brindle::RunDesktopProgram(paths, dialogs);
}
