// The font-mapping dialogs opened from the settings menu and driven as a user would: what they
// store, list and offer in the settings panel's font box.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "app/app_test_main.h"
#include "app/dialogs/balloon_hints.h"
#include "app/dialogs/font_mapping_dialog.h"
#include "app/main/main_window.h"
#include "app/panel/settings_panel.h"
#include "app/scripted_dialogs.h"
#include "fonts/font_mapping.h"
#include "panel/values/panel_controls.h"
#include "platform/text/font_config.h"
#include "prefs/preferences.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

using test::Find;

QComboBox& FontBox(MainWindow& window) {
  return *Find<QComboBox>(window.panel(), panel_control::kFontBox);
}

QStringList Entries(const QComboBox& box) {
  QStringList entries;
  for (int i = 0; i < box.count(); ++i) entries << box.itemText(i);
  return entries;
}

QStringList Row(const QTreeWidgetItem& item) { return {item.text(0), item.text(1)}; }

// Whether an open balloon points at the box: it hangs from the middle of the box's bottom edge.
bool BalloonAt(QWidget& box) {
  const QPoint tip = box.mapToGlobal(QPoint(box.width() / 2, box.height()));
  for (QWidget* balloon : box.window()->findChildren<QWidget*>("balloon_hint")) {
    const QRect at = balloon->geometry();
    if (balloon->isVisible() && std::abs(at.top() - tip.y()) <= 4 && at.left() <= tip.x() &&
        tip.x() <= at.right()) {
      return true;
    }
  }
  return false;
}

// Runs `act` on the modal dialog the caller opens next, and closes the dialog afterwards whatever
// `act` found, so a failed check cannot leave the test waiting.
template <typename Act>
void WhenModal(QObject* context, Act act) {
  QTimer::singleShot(0, context, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) QFAIL("no modal dialog");
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

void Click(QWidget& dialog, const char* button) {
  QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton);
}

}  // namespace

class FontMappingDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
    for (const InstalledFont& font : ListInstalledFonts()) {
      if (font.file.extension() == ".ttf") {
        font_file_ = font.file;
        break;
      }
    }
    QVERIFY(!font_file_.empty());
  }

  void init() {
    for (const std::string& name : context_->store.ValueNames(kFontsKey)) {
      context_->store.DeleteValue(kFontsKey, name);
    }
    dialogs_.told.clear();
  }

  void aFontFileNamedInTheAddDialogIsStoredListedAndOfferedFirst() {
    // A real font under Chinese folder and file names, in the remembered font folder.
    const fs::path folder = Home() / "字体";
    fs::create_directories(folder);
    const fs::path file = folder / "我的字体.ttf";
    fs::copy_file(font_file_, file, fs::copy_options::overwrite_existing);
    context_->font_folder = QString::fromStdString(folder.string());
    dialogs_.file_to_open = QString::fromStdString(file.string());
    const QString taken = QString::fromStdString(context_->fonts.face_names().front());

    MainWindow window(*context_, dialogs_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool checked = false;
    WhenModal(this, [&](QDialog& mapping) {
      QCOMPARE(mapping.windowTitle(), QString("字体文件映射"));
      auto* list = Find<QTreeWidget>(mapping, "font_mappings");
      QCOMPARE(Row(*list->headerItem()), QStringList({"字体名称", "字体路径"}));
      QCOMPARE(list->topLevelItemCount(), 0);
      QVERIFY(!Find<QPushButton>(mapping, "delete_button")->isEnabled());

      WhenModal(this, [&](QDialog& add) {
        QCOMPARE(add.windowTitle(), QString("字体文件映射 - 添加"));
        auto* name = Find<QLineEdit>(add, kMappingNameControl);
        auto* path = Find<QLineEdit>(add, kMappingPathControl);
        QCOMPARE(add.focusWidget(), name);
        QCOMPARE(name->accessibleName(), QString("字体名称："));
        QCOMPARE(path->accessibleName(), QString("字体路径："));

        Click(add, "ok_button");
        QCOMPARE(window.balloons().open_texts(), QStringList({"提示 | 字体名称不能为空"}));
        QVERIFY(BalloonAt(*name));
        QCOMPARE(add.focusWidget(), name);

        name->setText(taken);
        Click(add, "ok_button");
        QCOMPARE(window.balloons().open_texts(), QStringList({"提示 | 字体路径不能为空"}));
        QVERIFY(BalloonAt(*path));
        QCOMPARE(add.focusWidget(), path);

        // The chooser opens in the remembered folder and takes a path with Chinese in it.
        Click(add, "choose_button");
        QCOMPARE(dialogs_.open_file_asked,
                 QStringList({"选择字体文件",
                              "字体文件(*.TTF;*.TTC;*.OTF) (*.TTF *.ttf *.TTC *.ttc *.OTF *.otf)",
                              context_->font_folder}));
        QCOMPARE(path->text(), dialogs_.file_to_open);
        QVERIFY(dialogs_.told.isEmpty());

        Click(add, "ok_button");
        QCOMPARE(window.balloons().open_texts(),
                 QStringList({"提示 | 字体名称已存在，请重新输入"}));
        QVERIFY(BalloonAt(*name));
        QCOMPARE(add.focusWidget(), name);
        QVERIFY(add.isVisible());

        name->setText(" 测试字体 ");
        Click(add, "ok_button");
        QVERIFY(!add.isVisible());
      });
      Click(mapping, "add_button");

      QCOMPARE(list->topLevelItemCount(), 1);
      QCOMPARE(Row(*list->topLevelItem(0)), QStringList({"测试字体", dialogs_.file_to_open}));
      // Escape closes the dialog.
      QTest::keyClick(&mapping, Qt::Key_Escape);
      QVERIFY(!mapping.isVisible());
      checked = true;
    });
    test::SettingsMenuAction(window, menu_, "字体文件映射...")->trigger();
    QVERIFY(checked);

    QCOMPARE(FontBox(window).itemText(0), QString("测试字体"));
    std::string stored;
    QVERIFY(context_->store.ReadText(kFontsKey, "测试字体", stored));
    QCOMPARE(QString::fromStdString(stored), dialogs_.file_to_open);
    QVERIFY(context_->fonts.Contains("测试字体"));

    // Opened again: the same dialog, hidden in between, lists what is stored.
    checked = false;
    WhenModal(this, [&](QDialog& mapping) {
      auto* list = Find<QTreeWidget>(mapping, "font_mappings");
      QCOMPARE(list->topLevelItemCount(), 1);
      QCOMPARE(list->topLevelItem(0)->text(0), QString("测试字体"));
      checked = true;
    });
    test::SettingsMenuAction(window, menu_, "字体文件映射...")->trigger();
    QVERIFY(checked);
    QCOMPARE(window.findChildren<FontMappingDialog*>().size(), 1);
  }

  void rowsDeletedTogetherLeaveTheStoreAndTheFontBox() {
    // Two faces mapped by hand, one of them the recipe's face, and a mapping that an installed
    // face of the same name kept out of the catalogue at start.
    std::string installed;
    for (const std::string& name : context_->fonts.face_names()) {
      if (!IsFontFileTypeName(context_->fonts.Find(name)->front().type_name)) {
        installed = name;
        break;
      }
    }
    QVERIFY(!installed.empty());
    for (const char* name : {"甲字体", "乙字体"}) {
      const fs::path file = Home() / (std::string(name) + ".ttf");
      fs::copy_file(font_file_, file, fs::copy_options::overwrite_existing);
      context_->store.WriteText(kFontsKey, name, file.string());
    }
    context_->store.WriteText(kFontsKey, installed, font_file_.string());
    context_->fonts = LoadFontCatalogue(ReadFontMappings(context_->store));
    context_->recipe.sy_text_fontName = "甲字体";
    context_->recipe.sy_text = "水印";

    MainWindow window(*context_, dialogs_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QComboBox& box = FontBox(window);
    QCOMPARE(box.currentText(), QString("甲字体"));
    QVERIFY(Entries(box).contains("乙字体"));
    QSignalSpy preview_refreshes(&window.panel(), &SettingsPanel::PreviewRefreshRequested);

    bool checked = false;
    WhenModal(this, [&](QDialog& mapping) {
      auto* list = Find<QTreeWidget>(mapping, "font_mappings");
      auto* remove = Find<QPushButton>(mapping, "delete_button");
      QCOMPARE(list->topLevelItemCount(), 3);
      for (const char* name : {"甲字体", "乙字体"}) {
        QTreeWidgetItem* row = list->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(row).center());
      }
      QCOMPARE(list->selectedItems().size(), 2);
      QVERIFY(remove->isEnabled());
      Click(mapping, "delete_button");

      QCOMPARE(list->topLevelItemCount(), 1);
      QCOMPARE(list->topLevelItem(0)->text(0), QString::fromStdString(installed));
      QCOMPARE(context_->store.ValueNames(kFontsKey), std::vector<std::string>{installed});
      QVERIFY(!Entries(box).contains("甲字体") && !Entries(box).contains("乙字体"));
      QVERIFY(!context_->fonts.Contains("甲字体") && !context_->fonts.Contains("乙字体"));
      // The recipe's face went: the first entry is chosen as if by the user.
      QCOMPARE(box.currentIndex(), 0);
      QCOMPARE(window.panel().values().font_name, box.itemText(0).toStdString());
      QCOMPARE(box.itemText(0).toStdString(), FontBoxOrder(context_->fonts.face_names()).front());
      QCOMPARE(preview_refreshes.count(), 1);
      QVERIFY(!remove->isEnabled());
      QCOMPARE(mapping.focusWidget(), list);

      // The installed face's name stays offered when its mapping goes.
      const QStringList entries = Entries(box);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->topLevelItem(0)).center());
      Click(mapping, "delete_button");
      QCOMPARE(list->topLevelItemCount(), 0);
      QVERIFY(context_->store.ValueNames(kFontsKey).empty());
      QCOMPARE(Entries(box), entries);
      QVERIFY(context_->fonts.Contains(installed));
      QCOMPARE(preview_refreshes.count(), 1);
      checked = true;
    });
    test::SettingsMenuAction(window, menu_, "字体文件映射...")->trigger();
    QVERIFY(checked);
  }

 private:
  static fs::path Home() { return QDir::homePath().toStdString(); }

  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
  fs::path font_file_;
  QPointer<QMenu> menu_;  // the window owns it
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::FontMappingDialogTest>(argc, argv);
}

#include "font_mapping_dialog_test.moc"
