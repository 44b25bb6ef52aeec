#pragma once
// The main picture list as the two views show it: one row per entry, the name and the folder as
// columns, the thumbnail (or the type icon) as its decoration. The model owns the list; every
// change goes through it so the views hear of it.

#include <QAbstractTableModel>
#include <QCache>
#include <QIcon>
#include <QPixmap>
#include <functional>
#include <vector>

#include "app/thumbnail_worker.h"
#include "run/picture_entry.h"

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
  void Remove(std::vector<int> rows);
  void RemoveAll();
  void ApplyToRows(const std::vector<int>& rows, OrientationCommand command);
  // After a run over the originals: the entries' turns and flips as the run left them (reset),
  // and new thumbnails for the rows whose files were written over.
  void TakeRunResults(const std::vector<PictureEntry>& entries, const std::vector<int>& rewritten);

  void SetThumbnailsOn(bool on);
  bool thumbnails_on() const { return thumbnails_on_; }
  ThumbnailWorker& worker() { return worker_; }
  // The thumbnail made for a row, or a null pixmap while it is being made.
  QPixmap ThumbnailOf(int row) const;

 signals:
  void ThumbnailsBusyChanged(bool busy);

 private:
  void ShowAppendedRows();
  void TakeThumbnail(const QString& key, const QImage& image);
  QString KeyOf(const PictureEntry& entry) const;

  PictureList list_;
  int shown_rows_ = 0;
  bool thumbnails_on_ = true;
  QIcon type_icon_;
  mutable ThumbnailWorker worker_;  // asked from data(), which the views call
  // Only the thumbnails of rows that were shown are made; the cache keeps the latest ones.
  mutable QCache<QString, QPixmap> thumbnails_;
  bool repaint_posted_ = false;
};

}  // namespace brindle
