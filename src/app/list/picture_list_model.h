#pragma once
// The main picture list as the two views show it: one row per entry, the name and the folder as
// columns, the thumbnail (or the type icon) as its decoration. The model owns the list; every
// change goes through it so the views hear of it.

#include <QAbstractTableModel>
#include <QCache>
#include <QIcon>
#include <QPixmap>
#include <QSet>
#include <functional>
#include <utility>
#include <vector>

#include "app/list/thumbnail_worker.h"
#include "run/list/picture_entry.h"

namespace brindle {

class PictureListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit PictureListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const PictureList& list() const { return list_; }

  // Runs a change that only appends to the list (adding by any route), then shows the new rows.
  template <typename Change>
  auto Append(Change&& change) {
    auto result = change(list_);
    ShowAppendedRows();
    return result;
  }
  // Removes the rows of the ranges (first, last), any order; every row at once is RemoveAll.
  void Remove(std::vector<std::pair<int, int>> ranges);
  void RemoveAll();
  void ApplyToRows(const std::vector<int>& rows, OrientationCommand command);
  // After a run over the originals: the entries' turns and flips as the run left them (reset),
  // and new thumbnails for the rows whose files were written over.
  void TakeRunResults(const std::vector<PictureEntry>& entries, const std::vector<int>& rewritten);

  void SetThumbnailsOn(bool on);
  bool thumbnails_on() const { return thumbnails_on_; }
  ThumbnailWorker& worker() { return worker_; }
  // The thumbnail made for a row, or a null pixmap while it is being made (then it is asked for).
  QPixmap ThumbnailOf(int row) const;
  // Whether the row's thumbnail is made, without asking for it.
  bool HasThumbnail(int row) const;

 signals:
  void ThumbnailsBusyChanged(bool busy);
  // A worker began the thumbnail of the entry at this position (1 for the first row).
  void ThumbnailStarted(int position);

 private:
  void ShowAppendedRows();
  void TakeThumbnail(const QString& key, const QImage& image, bool fresh);
  QString KeyOf(const PictureEntry& entry) const;
  void Ask(int row, int round) const;
  // Asks, at the lowest priority and in list order, for the thumbnails of rows first to last that
  // are not made, when the whole list fits the cache: the rows shown are asked for as they are
  // drawn and go first.
  void AskInBackground(int first, int last);
  int ShownRound() const;

  PictureList list_;
  int shown_rows_ = 0;
  bool thumbnails_on_ = true;
  QIcon type_icon_;
  mutable ThumbnailWorker worker_;  // asked from data(), which the views call
  // The cache keeps the latest thumbnails, each its 96 x 96 pixels.
  mutable QCache<QString, QPixmap> thumbnails_;
  // Files written over by a run: their next thumbnail is made from the file, whatever the shared
  // cache holds, and a thumbnail of the old file still on its way is dropped.
  QSet<QString> remade_paths_;
  // The rows drawn in one pass of the event loop are one round; later rounds go first.
  mutable int round_ = 0;
  mutable bool round_open_ = false;
  bool repaint_posted_ = false;
};

}  // namespace brindle
