#include "app/picture_list_model.h"

#include <QTimer>
#include <algorithm>

#include "shell/thumbnail.h"

namespace brindle {
namespace {

constexpr int kCachedThumbnails = 3000;

}  // namespace

PictureListModel::PictureListModel(QObject* parent)
    : QAbstractTableModel(parent), type_icon_(":/icons/type-picture.svg") {
  thumbnails_.setMaxCost(kCachedThumbnails);
  connect(&worker_, &ThumbnailWorker::Made, this, &PictureListModel::TakeThumbnail);
  connect(&worker_, &ThumbnailWorker::Idle, this, [this] { emit ThumbnailsBusyChanged(false); });
}

int PictureListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_rows_;
}

int PictureListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QString PictureListModel::KeyOf(const PictureEntry& entry) const {
  return ThumbnailKey(QString::fromStdString(entry.path.string()), entry.rotation,
                      entry.flip != FlipState::kNone);
}

QPixmap PictureListModel::ThumbnailOf(int row) const {
  const PictureEntry& entry = list_[static_cast<std::size_t>(row)];
  const QString key = KeyOf(entry);
  if (QPixmap* made = thumbnails_.object(key)) return *made;
  const bool was_idle = worker_.pending() == 0;
  worker_.Request({key, QString::fromStdString(entry.path.string()), entry.rotation,
                   entry.flip != FlipState::kNone});
  if (was_idle) emit const_cast<PictureListModel*>(this)->ThumbnailsBusyChanged(true);
  return {};
}

QVariant PictureListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_rows_) return {};
  const PictureEntry& entry = list_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
      if (index.column() == 0) return QString::fromStdString(entry.name);
      return QString::fromStdString(entry.path.parent_path().string());
    case Qt::DecorationRole:
      if (index.column() != 0) return {};
      if (thumbnails_on_) {
        QPixmap thumbnail = ThumbnailOf(index.row());
        if (!thumbnail.isNull()) return thumbnail;
      }
      return type_icon_;
    default:
      return {};
  }
}

QVariant PictureListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section == 0 ? QString("名称") : QString("文件夹");
}

void PictureListModel::ShowAppendedRows() {
  const int rows = static_cast<int>(list_.size());
  if (rows <= shown_rows_) return;
  beginInsertRows({}, shown_rows_, rows - 1);
  shown_rows_ = rows;
  endInsertRows();
}

void PictureListModel::Remove(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (static_cast<int>(rows.size()) >= shown_rows_) {
    RemoveAll();
    return;
  }
  // Contiguous runs from the last to the first, so the rows still to go keep their numbers.
  for (auto end = rows.end(); end != rows.begin();) {
    auto first = end - 1;
    while (first != rows.begin() && *(first - 1) == *first - 1) --first;
    beginRemoveRows({}, *first, *(end - 1));
    std::vector<std::size_t> indices(first, end);
    list_.Remove(std::move(indices));
    shown_rows_ = static_cast<int>(list_.size());
    endRemoveRows();
    end = first;
  }
}

void PictureListModel::RemoveAll() {
  beginResetModel();
  list_.RemoveAll();
  shown_rows_ = 0;
  worker_.Clear();
  thumbnails_.clear();
  endResetModel();
}

void PictureListModel::ApplyToRows(const std::vector<int>& rows, OrientationCommand command) {
  for (int row : rows) {
    ApplyOrientationCommand(list_[static_cast<std::size_t>(row)], command);
    emit dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
  }
}

void PictureListModel::TakeRunResults(const std::vector<PictureEntry>& entries,
                                      const std::vector<int>& rewritten) {
  for (int row : rewritten) {
    if (row < shown_rows_) thumbnails_.remove(KeyOf(list_[static_cast<std::size_t>(row)]));
  }
  const std::size_t count = std::min(entries.size(), list_.size());
  for (std::size_t i = 0; i < count; ++i) {
    list_[i].rotation = entries[i].rotation;
    list_[i].flip = entries[i].flip;
  }
  if (shown_rows_ > 0)
    emit dataChanged(index(0, 0), index(shown_rows_ - 1, 0), {Qt::DecorationRole});
}

void PictureListModel::SetThumbnailsOn(bool on) {
  if (on == thumbnails_on_) return;
  thumbnails_on_ = on;
  if (!on) {
    worker_.Clear();
    thumbnails_.clear();
  }
  if (shown_rows_ > 0)
    emit dataChanged(index(0, 0), index(shown_rows_ - 1, 0), {Qt::DecorationRole});
}

void PictureListModel::TakeThumbnail(const QString& key, const QImage& image) {
  if (!thumbnails_on_) return;
  // A failed picture keeps its type icon: an empty pixmap is not cached, so store the icon's look.
  thumbnails_.insert(key, new QPixmap(image.isNull() ? type_icon_.pixmap(kThumbnailSide)
                                                     : QPixmap::fromImage(image)));
  // Many thumbnails arrive together: one repaint of the shown rows for all of them.
  if (repaint_posted_) return;
  repaint_posted_ = true;
  QTimer::singleShot(50, this, [this] {
    repaint_posted_ = false;
    if (shown_rows_ > 0) {
      emit dataChanged(index(0, 0), index(shown_rows_ - 1, 0), {Qt::DecorationRole});
    }
  });
}

}  // namespace brindle
