#pragma once
// The crop and join windows' hand-made picture list: the file names in a multi-selection list
// (the full path as the tip), with "添加", "删除" (enabled while a row is selected; the Delete key
// does the same) and "清空" (enabled while the list holds a picture).

#include <QWidget>
#include <filesystem>
#include <vector>

class QListWidget;
class QPushButton;

namespace brindle {

class PictureListPanel : public QWidget {
  Q_OBJECT

 public:
  // add_name: the object name of "添加", where a refusal points.
  explicit PictureListPanel(const char* add_name, QWidget* parent = nullptr);

  // Shows the paths, nothing selected.
  void Show(const std::vector<std::filesystem::path>& paths);
  void Select(int row);
  std::vector<int> SelectedRows() const;
  QListWidget& list() const { return *list_; }

 signals:
  void AddClicked();
  void DeleteClicked();
  void ClearClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* list_;
  QPushButton* delete_;
  QPushButton* clear_;
};

}  // namespace brindle
