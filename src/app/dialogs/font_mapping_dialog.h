#pragma once
// "字体文件映射": the font files the user gave face names by hand, listed with "添加" and "删除",
// and "字体文件映射 - 添加", where one is named. The rules of adding and deleting are the core's
// (fonts/font_mapping.h); the dialogs show the mappings, keep the settings panel's font box in
// step and show the core's refusals as balloons.

#include <QDialog>
#include <optional>

#include "fonts/font_catalogue.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace brindle {

struct AppContext;
class BalloonHints;
class Dialogs;
class SettingsPanel;

class FontMappingAddDialog : public QDialog {
  Q_OBJECT

 public:
  FontMappingAddDialog(AppContext& context, Dialogs& dialogs, BalloonHints& balloons,
                       QWidget* parent = nullptr);

  // The mapping "确定" accepted; none after "取消".
  const std::optional<FontMapping>& mapping() const { return mapping_; }

 private:
  void ChooseFile();
  void Check();

  AppContext& context_;
  Dialogs& dialogs_;
  BalloonHints& balloons_;
  QLineEdit* name_;
  QLineEdit* path_;
  std::optional<FontMapping> mapping_;
};

class FontMappingDialog : public QDialog {
  Q_OBJECT

 public:
  FontMappingDialog(AppContext& context, Dialogs& dialogs, BalloonHints& balloons,
                    SettingsPanel& panel, QWidget* parent = nullptr);

  // Shows every stored mapping, then runs until closed.
  int exec() override;

 private:
  void AddRow(const FontMapping& mapping);
  void Add();
  void DeleteSelected();

  AppContext& context_;
  Dialogs& dialogs_;
  BalloonHints& balloons_;
  SettingsPanel& panel_;
  QTreeWidget* list_;
  QPushButton* delete_;
};

}  // namespace brindle
