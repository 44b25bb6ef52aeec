#pragma once
// The watermark text and picture boxes of the settings panel.

#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

namespace brindle {

// A drop-down list whose entries are made each time it opens (the remembered texts and
// pictures); the current text stays, at the top when it is not among them.
class HistoryBox : public QComboBox {
 public:
  HistoryBox(std::function<std::vector<std::string>()> entries, QWidget* parent = nullptr)
      : QComboBox(parent), entries_(std::move(entries)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
  }

  void showPopup() override;

 private:
  std::function<std::vector<std::string>()> entries_;
};

}  // namespace brindle
