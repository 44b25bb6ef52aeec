#pragma once
// What a person does with the pointer and the keyboard, as the window system delivers it: presses,
// releases and double-clicks on a view's viewport at an item's place, clicks on the button a
// toolbar shows for an action, keys on the widget that has the focus.

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <algorithm>

namespace brindle::test {

// The centre of a row's item as the view shows it now, scrolled into sight first.
inline QPoint RowCentre(QAbstractItemView& view, int row) {
  const QModelIndex index = view.model()->index(row, 0);
  view.scrollTo(index);
  return view.visualRect(index).center();
}

inline void ClickRow(QAbstractItemView& view, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, RowCentre(view, row));
}

// A double-click as an X server reports it: press, release, press, the double-click, release.
inline void DoubleClickAt(QWidget* widget, QPoint at) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  QTest::mousePress(widget, Qt::LeftButton, {}, at);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

inline void DoubleClickRow(QAbstractItemView& view, int row) {
  DoubleClickAt(view.viewport(), RowCentre(view, row));
}

// Pressed at one point, dragged to another with the button held, released there.
inline void DragBetween(QWidget* widget, QPoint from, QPoint to) {
  QTest::mousePress(widget, Qt::LeftButton, {}, from);
  const QPoint step = (to - from) / 4;
  for (int i = 1; i < 4; ++i) QTest::mouseMove(widget, from + step * i);
  QTest::mouseMove(widget, to);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

// A key pressed where the keyboard goes now: the focused widget of the active window.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* focused = QApplication::focusWidget();
  QVERIFY2(focused, "no widget has the keyboard focus");
  QTest::keyClick(focused, key, modifiers);
}

inline void ClickButton(QAbstractButton* button) {
  QVERIFY2(button && button->isVisible() && button->isEnabled(),
           button ? qPrintable(button->text()) : "no button");
  QTest::mouseClick(button, Qt::LeftButton);
}

// The keyboard focus moved to a control as the Tab key moves it there (the tab order itself is not
// what the tests check).
inline void FocusAsByTab(QWidget* control) {
  control->setFocus(Qt::TabFocusReason);
  QVERIFY2(control->hasFocus(), qPrintable(control->objectName()));
}

// A checkable group box's title (its check box and caption) clicked.
inline void ClickGroupBoxTitle(QGroupBox* box) {
  QStyleOptionGroupBox option;
  option.initFrom(box);
  option.text = box->title();
  option.textAlignment = box->alignment();
  option.subControls = QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel |
                       QStyle::SC_GroupBoxFrame;
  option.features = QStyleOptionFrame::None;
  const QRect check =
      box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, box);
  QTest::mouseClick(box, Qt::LeftButton, {}, check.center());
}

// The toolbar's button for an action, clicked. A window too narrow for the whole toolbar (the
// offscreen platform's small screen) is first widened until the button shows.
inline void ClickToolbar(QToolBar& bar, QAction* action) {
  QVERIFY(action);
  auto* button = qobject_cast<QAbstractButton*>(bar.widgetForAction(action));
  QVERIFY(button);
  if (!button->isVisible()) {
    QWidget* window = bar.window();
    window->resize(std::max(window->width(), window->width() - bar.width() +
                                                 bar.sizeHint().width() + 20),
                   window->height());
    QTRY_VERIFY2(button->isVisible(), qPrintable(button->text()));
  }
  ClickButton(button);
}

// A right-click: the press and release, then the context-menu request the window system makes of
// them.
inline void RightClickAt(QWidget* widget, QPoint at) {
  QTest::mouseClick(widget, Qt::RightButton, {}, at);
  QContextMenuEvent request(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
  QApplication::sendEvent(widget, &request);
}

inline void RightClickRow(QAbstractItemView& view, int row) {
  RightClickAt(view.viewport(), RowCentre(view, row));
}

// The entry with this text of the next pop-up menu is pointed at and clicked once the menu is up;
// call before the gesture that opens the menu (whose exec() returns after the click).
inline void ClickInNextMenu(const QString& text) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible()) return;
    poll->deleteLater();
    poll->stop();
    for (QAction* entry : menu->actions()) {
      if (entry->text() != text) continue;
      const QPoint at = menu->actionGeometry(entry).center();
      QTest::mouseMove(menu, at);
      QTest::mouseClick(menu, Qt::LeftButton, {}, at);
      return;
    }
    menu->close();  // the test's comparisons then fail on what the entry should have done
  });
  poll->start();
}

// The toolbar button of the main window's command with this name, clicked.
inline void ClickCommand(QWidget& main_window, const char* name) {
  auto* bar = main_window.findChild<QToolBar*>("toolbar");
  QVERIFY(bar);
  ClickToolbar(*bar, main_window.findChild<QAction*>(name));
}

// The main window's picture list as shown now: the icon view, or the report view without
// thumbnails.
inline QAbstractItemView& ShownPictureList(QWidget& main_window) {
  auto* icons = main_window.findChild<QAbstractItemView*>("picture_icons");
  auto* report = main_window.findChild<QAbstractItemView*>("picture_report");
  if (!icons || !report) qFatal("no picture list");
  return report->isVisible() ? *report : *icons;
}

// Shown, in front and taking the keyboard, as a window the user works in is.
inline bool ActivateWindow(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

// The first control below root, in the accessibility tree, with this role (buttons: push buttons
// with or without a menu, and toolbar buttons that stay pressed) and this accessible name; null
// when there is none.
inline QAccessibleInterface* FindAccessible(QAccessibleInterface* root, QAccessible::Role role,
                                            const QString& name) {
  if (!root) return nullptr;
  QAccessible::Role found = root->role();
  if (role == QAccessible::Button &&
      (found == QAccessible::ButtonMenu || (found == QAccessible::CheckBox &&
                                            root->state().checkable && root->object() &&
                                            root->object()->inherits("QToolButton")))) {
    found = QAccessible::Button;
  }
  if (found == role && root->text(QAccessible::Name) == name) return root;
  for (int i = 0; i < root->childCount(); ++i) {
    if (QAccessibleInterface* hit = FindAccessible(root->child(i), role, name)) return hit;
  }
  return nullptr;
}

}  // namespace brindle::test
