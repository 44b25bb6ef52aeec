// Qt's own texts in the Chinese program: message box buttons and the choosers, whatever the
// user's environment language; the picture chooser lists each filter once.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "app/app_test_main.h"
#include "app/dialogs/dialogs.h"
#include "app/list/picture_list_model.h"
#include "app/main/main_window.h"
#include "app/scripted_dialogs.h"

namespace brindle {
namespace {

// Runs `look` on the modal window the next call opens, once its event loop runs; `look` closes it.
template <typename Box>
void WhenOpen(std::function<void(Box&)> look) {
  QTimer::singleShot(0, [look] {
    auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
    if (!box) qFatal("no modal window of the expected kind");
    look(*box);
  });
}

QStringList ButtonTexts(QMessageBox& box) {
  QStringList texts;
  for (QAbstractButton* button : box.buttons()) texts << button->text();
  texts.sort();
  return texts;
}

QString LabelText(QWidget& dialog, const char* name) {
  auto* label = dialog.findChild<QLabel*>(name);
  return label ? label->text() : QString();
}

}  // namespace

class ChineseTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The environment speaks English; the program still speaks Chinese.
    qputenv("LANGUAGE", "en");
    context_ = test::StartTestProgram(scripted_);
    QVERIFY(context_);
  }

  void messageBoxesAnswerInChinese() {
    Dialogs dialogs;
    QStringList seen;
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
      seen = ButtonTexts(box);
      box.button(QMessageBox::No)->click();
    });
    QVERIFY(!dialogs.AskYesNo(nullptr, "确认", "是否需要加载所有子文件夹中的图片？"));
    QCOMPARE(seen, QStringList({"否(&N)", "是(&Y)"}));

    WhenOpen<QMessageBox>([&](QMessageBox& box) {
      seen = ButtonTexts(box);
      box.button(QMessageBox::Ok)->click();
    });
    QVERIFY(dialogs.AskOkCancel(nullptr, "询问", "确定要关闭窗口吗？", MessageIcon::kQuestion));
    QCOMPARE(seen, QStringList({"取消", "确定"}));

    WhenOpen<QMessageBox>([&](QMessageBox& box) {
      seen = ButtonTexts(box);
      QCOMPARE(box.text(), QString("<b>粗体</b> & 1"));  // plain text, not markup
      box.button(QMessageBox::Ok)->click();
    });
    dialogs.Tell(nullptr, "提示", "<b>粗体</b> & 1", MessageIcon::kInformation);
    QCOMPARE(seen, QStringList({"确定"}));
  }

  void thePictureChooserIsChineseAndListsEachFilterOnce() {
    Dialogs dialogs;
    MainWindow window(*context_, dialogs);
    QString title;
    QStringList filters;
    QString look_in;
    QString file_type;
    QString cancel;
    WhenOpen<QFileDialog>([&](QFileDialog& chooser) {
      title = chooser.windowTitle();
      auto* types = chooser.findChild<QComboBox*>("fileTypeCombo");
      for (int i = 0; types && i < types->count(); ++i) filters << types->itemText(i);
      look_in = LabelText(chooser, "lookInLabel");
      file_type = LabelText(chooser, "fileTypeLabel");
      auto* buttons = chooser.findChild<QDialogButtonBox*>("buttonBox");
      if (buttons) cancel = buttons->button(QDialogButtonBox::Cancel)->text();
      chooser.reject();
    });
    window.action("add_picture")->trigger();
    QCOMPARE(title, QString("选择图片 - 支持多选"));
    QCOMPARE(look_in, QString("查找范围："));
    QCOMPARE(file_type, QString("文件类型："));
    QCOMPARE(cancel, QString("取消"));
    QCOMPARE(filters.size(), 12);
    QCOMPARE(filters.front(),
             QString("图片文件(*.JPG;*.GIF;*.PNG;*.BMP;*.JFIF;*.TIF;*.TBI;*.PSD;*.HEIC;*.AVIF;*.WEBP)"));
    QCOMPARE(filters[1], QString("JPG图片 (*.JPG)"));
    QCOMPARE(filters.back(), QString("WEBP图片 (*.WEBP)"));
    QCOMPARE(window.model().rowCount(), 0);
  }

  void theFolderChooserIsChineseLargeAndCentred() {
    Dialogs dialogs;
    QSize size;
    QPoint centre;
    QString look_in;
    QString type_label;
    WhenOpen<QFileDialog>([&](QFileDialog& chooser) {
      size = chooser.size();
      centre = chooser.geometry().center();
      look_in = LabelText(chooser, "lookInLabel");
      for (QLabel* label : chooser.findChildren<QLabel*>()) {
        if (label->text() == "图片类型：") type_label = label->text();
      }
      chooser.reject();
    });
    const std::optional<FolderChoice> choice =
        dialogs.ChooseFolder(nullptr, "添加图片文件夹：", QDir::homePath(), {"加载所有图片"});
    QVERIFY(!choice);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(size.width() >= area.width() * 40 / 100, qPrintable(QString::number(size.width())));
    QVERIFY2(size.height() >= area.height() * 55 / 100,
             qPrintable(QString::number(size.height())));
    QVERIFY2(qAbs(centre.x() - area.center().x()) <= 8,
             qPrintable(QString("%1,%2 in %3x%4 size %5x%6")
                            .arg(centre.x())
                            .arg(centre.y())
                            .arg(area.width())
                            .arg(area.height())
                            .arg(size.width())
                            .arg(size.height())));
    QVERIFY(qAbs(centre.y() - area.center().y()) <= 8);
    QCOMPARE(look_in, QString("查找范围："));
    QCOMPARE(type_label, QString("图片类型："));
  }

 private:
  test::ScriptedDialogs scripted_;
  std::optional<AppContext> context_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::ChineseTextsTest>(argc, argv);
}

#include "chinese_texts_test.moc"
