#pragma once
// The desktop program from start to exit, as main() runs it; tests start it the same way.

#include <QStringList>

namespace brindle {

class Dialogs;

// Runs start-up, shows the main window with the given files and folders in its list, and runs the
// event loop. The exit status: 0, or 255 when start-up fails (told in a box first).
int RunDesktopProgram(const QStringList& paths, Dialogs& dialogs);

// Settings every QApplication of the program needs before windows are made: the resources, Qt's
// own texts in Chinese, and Qt's picture size limit raised so large pictures can be shown.
void PrepareApplication();

// Qt's Chinese translation (qtbase_zh_CN from Qt's translations folder) installed once, with the
// Chinese locale as the default; false when the translation cannot be found.
bool LoadQtTranslations();

}  // namespace brindle
