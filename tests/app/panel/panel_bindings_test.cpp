// The settings panel's table of value controls against the panel itself: every value control has
// one row, each row's control shows the value it stands for, and the user's key presses and clicks
// on it write that value back.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTest>
#include <map>

#include "app/app_test_main.h"
#include "app/main/main_window.h"
#include "app/panel/panel_bindings.h"
#include "app/panel/settings_panel.h"
#include "app/scripted_dialogs.h"
#include "app/user_input.h"
#include "panel/values/panel_controls.h"

namespace brindle {
namespace {

namespace pc = panel_control;

QString Name(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<int>(name.size()));
}

// Every switch of the panel on, so that each row's control can be reached.
PanelValues AllOn(PanelValues values) {
  for (bool* on : {&values.resize, &values.quality, &values.text_watermark, &values.image_watermark,
                   &values.border, &values.text_size_scale, &values.text_tiled, &values.image_tiled,
                   &values.light.on, &values.contrast.on, &values.clearly.on, &values.saturation.on,
                   &values.colour_space}) {
    *on = true;
  }
  values.save_mode = PlacementMode::kSaveToFolder;
  return values;
}

}  // namespace

class PanelBindingsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    context_ = test::StartTestProgram(dialogs_);
    QVERIFY(context_);
  }

  // A check box, slider or list added to the panel without a row would show nothing and write
  // nothing: each has exactly one. The font box (its entries are the font list) and the save
  // choice's two buttons (one choice of three states) are the panel's own code.
  void everyValueControlHasOneRow() {
    MainWindow window(*context_, dialogs_);
    std::map<QString, int> rows;
    for (const PanelBinding& row : PanelBindings()) ++rows[Name(row.name)];
    QSet<QString> controls;
    for (QWidget* control : window.panel().widget()->findChildren<QWidget*>()) {
      const auto* button = qobject_cast<QAbstractButton*>(control);
      const auto* group = qobject_cast<QGroupBox*>(control);
      const bool value_control =
          (button && button->isCheckable()) || (group && group->isCheckable()) ||
          qobject_cast<QAbstractSlider*>(control) || qobject_cast<QComboBox*>(control);
      if (!value_control || control->objectName().isEmpty()) continue;
      if (control->objectName() == Name(pc::kFontBox) ||
          control->objectName() == Name(pc::kSaveToFolder) ||
          control->objectName() == Name(pc::kOverwrite)) {
        continue;
      }
      controls.insert(control->objectName());
      QVERIFY2(rows.count(control->objectName()) == 1, qPrintable(control->objectName()));
      QCOMPARE(rows[control->objectName()], 1);
    }
    QCOMPARE(static_cast<std::size_t>(controls.size()), rows.size());
    QVERIFY(controls.contains(Name(pc::kQualitySlider)));
    QVERIFY(controls.contains(Name(pc::kCornerRadiusList)));
  }

  void everyRowShowsItsValueAndTakesTheUsersChange() {
    MainWindow window(*context_, dialogs_);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    SettingsPanel& panel = window.panel();
    const PanelValues base = AllOn(panel.values());
    int written = 0;
    for (const PanelBinding& row : PanelBindings()) {
      const QString name = Name(row.name);
      PanelValues shown = base;
      // "文字大小按比例" disables the font size list.
      if (row.name == pc::kFontSizeList) shown.text_size_scale = false;
      panel.SetValues(shown);
      if (row.flag) {
        // The opposite of the base value shown, then the user's click turns it back.
        row.flag(shown) = !row.flag(shown);
        panel.SetValues(shown);
        const bool on = row.flag(shown);
        if (auto* group = panel.findChild<QGroupBox*>(name)) {
          QVERIFY2(group->isChecked() == on, qPrintable(name));
          if (row.by_rule) continue;
          test::ClickGroupBoxTitle(group);
        } else {
          auto* button = panel.findChild<QAbstractButton*>(name);
          QVERIFY2(button && button->isChecked() == on, qPrintable(name));
          // "sRGB.icc" is kept in the recipe and never shown; a face without a bold or italic
          // style hides those buttons.
          if (row.by_rule || !button->isVisible()) continue;
          QTest::mouseClick(button, Qt::LeftButton);
        }
        PanelValues now = panel.values();
        QVERIFY2(row.flag(now) == !on, qPrintable(name));
      } else if (auto* slider = panel.findChild<QAbstractSlider*>(name)) {
        const int value = (slider->minimum() + slider->maximum()) / 2 + 3;
        row.number(shown) = value;
        panel.SetValues(shown);
        QVERIFY2(slider->value() == value, qPrintable(name));
        if (row.caption) {
          bool captioned = false;
          for (QLabel* label : panel.findChildren<QLabel*>()) {
            captioned |= label->text() == Name(row.caption(value)) &&
                         label->parentWidget() == slider->parentWidget();
          }
          QVERIFY2(captioned, qPrintable(name));
        }
        QTest::keyClick(slider, Qt::Key_Right);
        PanelValues now = panel.values();
        QVERIFY2(row.number(now) == value + 1, qPrintable(name));
      } else {
        auto* list = panel.findChild<QComboBox*>(name);
        QVERIFY2(list, qPrintable(name));
        if (row.number || row.step > 0) {
          // The second entry shown, then the Up key chooses the first.
          if (row.number) {
            row.number(shown) = 1;
          } else {
            row.text(shown) = std::to_string(row.step);
          }
          panel.SetValues(shown);
          QVERIFY2(list->currentIndex() == 1, qPrintable(name));
          if (row.by_rule) continue;
          QTest::keyClick(list, Qt::Key_Up);
          PanelValues now = panel.values();
          if (row.number) {
            QVERIFY2(row.number(now) == 0, qPrintable(name));
          } else {
            QVERIFY2(row.text(now) == "0", qPrintable(name));
          }
        } else {
          row.text(shown) = "12";
          panel.SetValues(shown);
          QVERIFY2(list->currentText() == "12", qPrintable(name));
          // The picture box is read-only: its picture comes from the chooser or the list.
          if (list->lineEdit()->isReadOnly()) continue;
          list->lineEdit()->selectAll();
          QTest::keyClicks(list->lineEdit(), "34");
          PanelValues now = panel.values();
          QVERIFY2(row.text(now) == "34",
                   qPrintable(name + " " + QString::fromStdString(row.text(now)) + " " +
                              list->currentText()));
        }
      }
      ++written;
    }
    // All but the rows read back by the panel's own rules and the hidden or read-only controls.
    QVERIFY2(written >= 30, qPrintable(QString::number(written)));
  }

 private:
  test::ScriptedDialogs dialogs_;
  std::optional<AppContext> context_;
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::PanelBindingsTest>(argc, argv);
}

#include "panel_bindings_test.moc"
