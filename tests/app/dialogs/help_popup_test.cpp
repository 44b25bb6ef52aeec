// The F1 help popup over a small widget tree, on Qt's offscreen platform with temporary XDG
// folders.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <filesystem>

#include "app/app_test_main.h"
#include "app/dialogs/help_popup.h"
#include "support/test_support.h"
#include "window_rules/dialogs/help_texts.h"

namespace brindle {

class HelpPopupTest : public QObject {
  Q_OBJECT

 private slots:
  void helpOfTheControlUnderTheCursor() {
    QWidget root;
    // A checkable group named like its switch: a plain label inside it is still no control.
    auto* group = new QGroupBox("文字水印", &root);
    group->setCheckable(true);
    group->setObjectName("text_watermark_check");
    auto* check = new QCheckBox(group);
    check->setObjectName("resize_check");
    auto* label = new QLabel("像素", group);
    auto* spin = new QSpinBox(group);
    spin->setObjectName("dpi_box");
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(check);
    layout->addWidget(label);
    layout->addWidget(spin);
    (new QVBoxLayout(&root))->addWidget(group);
    root.resize(240, 160);
    root.move(300, 100);
    root.show();
    QVERIFY(QTest::qWaitForWindowExposed(&root));

    HelpPopup popup(&root);
    const QPoint at_check = check->mapToGlobal(check->rect().center());
    QVERIFY(ShowHelpFor(&root, at_check, popup));
    QVERIFY(popup.isVisible());
    const std::string_view help = *HelpText("resize_check");
    const QString text = QString::fromUtf8(help.data(), static_cast<qsizetype>(help.size()));
    QCOMPARE(popup.accessibleName(), QString("帮助"));
    QCOMPARE(popup.accessibleDescription(), text);
    QCOMPARE(popup.width(), 326);
    int body = static_cast<int>(text.count('\n') + 1) * (popup.fontMetrics().height() + 3);
    if (body % 2 == 0) ++body;
    QCOMPARE(popup.height(), body + 22);
    QCOMPARE(popup.pos(), at_check + QPoint(-160, 16));

    QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(!popup.isVisible());

    // Near the screen's bottom-left corner: 6 pixels from the left edge, above the cursor.
    const QRect area = popup.screen()->availableGeometry();
    const QPoint corner(area.left() + 20, area.bottom() - 5);
    popup.ShowAt(text, corner);
    QCOMPARE(popup.pos(), QPoint(area.left() + 6, corner.y() - popup.height()));
    QVERIFY(popup.isVisible());
    // On an X server the activation arrives later; the user goes back once the popup has it.
    QVERIFY(QTest::qWaitForWindowActive(&popup));
    root.activateWindow();
    QTRY_VERIFY(!popup.isVisible());

    // The group's own title leads to the group, a spin box's inner line edit to the box, a label
    // to nothing.
    bool title_found = false;
    for (int x = 0; x < group->width() && !title_found; ++x) {
      const QPoint on_title = group->mapToGlobal(QPoint(x, group->fontMetrics().height() / 2));
      title_found = HelpTargetAt(&root, on_title) == group;
    }
    QVERIFY(title_found);
    QCOMPARE(HelpTargetAt(&root, spin->mapToGlobal(QPoint(5, spin->height() / 2))), spin);
    const QPoint at_label = label->mapToGlobal(label->rect().center());
    QCOMPARE(HelpTargetAt(&root, at_label), nullptr);
    QVERIFY(!ShowHelpFor(&root, at_label, popup));
    QVERIFY(!popup.isVisible());
  }
};

}  // namespace brindle

int main(int argc, char** argv) {
  return brindle::test::RunAppTest<brindle::HelpPopupTest>(argc, argv);
}

#include "help_popup_test.moc"
