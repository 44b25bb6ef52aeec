#include "app/list/picture_list_model.h"

#include <QTimer>
#include <algorithm>

#include "window_rules/list/list_status.h"
#include "window_rules/list/shared_thumbnail.h"
#include "window_rules/list/thumbnail.h"

namespace brindle {
namespace {

constexpr int kCachedThumbnails = 3000;

}  // namespace

PictureListModel::PictureListModel(QObject* parent)
    : QAbstractTableModel(parent),
      type_icon_(":/icons/type-picture.svg"),
      worker_(SharedThumbnailFolder()) {
  thumbnails_.setMaxCost(kCachedThumbnails);
  connect(&worker_, &ThumbnailWorker::Made, this, &PictureListModel::TakeThumbnail);
  connect(&worker_, &ThumbnailWorker::Started, this,
          [this](int row) { emit ThumbnailStarted(row + 1); });
  connect(&worker_, &ThumbnailWorker::Idle, this, [this] {
    if (worker_.pending() == 0) emit ThumbnailsBusyChanged(false);
  });
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

int PictureListModel::ShownRound() const {
  if (!round_open_) {
    ++round_;
    round_open_ = true;
    QTimer::singleShot(0, this, [this] { round_open_ = false; });
  }
  return round_;
}

void PictureListModel::Ask(int row, int round) const {
  const PictureEntry& entry = list_[static_cast<std::size_t>(row)];
  const QString path = QString::fromStdString(entry.path.string());
  const bool was_idle = worker_.pending() == 0;
  worker_.Request({KeyOf(entry), path, entry.rotation, entry.flip != FlipState::kNone, row,
                   remade_paths_.contains(path)},
                  round);
  if (was_idle) emit const_cast<PictureListModel*>(this)->ThumbnailsBusyChanged(true);
}

void PictureListModel::AskInBackground(int first, int last) {
  if (!thumbnails_on_ || shown_rows_ > kCachedThumbnails) return;
  for (int row = first; row <= last; ++row) {
    if (!thumbnails_.contains(KeyOf(list_[static_cast<std::size_t>(row)]))) Ask(row, 0);
  }
}

QPixmap PictureListModel::ThumbnailOf(int row) const {
  const PictureEntry& entry = list_[static_cast<std::size_t>(row)];
  if (QPixmap* made = thumbnails_.object(KeyOf(entry))) return *made;
  Ask(row, ShownRound());
  return {};
}

bool PictureListModel::HasThumbnail(int row) const {
  return thumbnails_.contains(KeyOf(list_[static_cast<std::size_t>(row)]));
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
  const int first = shown_rows_;
  beginInsertRows({}, first, rows - 1);
  shown_rows_ = rows;
  endInsertRows();
  AskInBackground(first, rows - 1);
}

void PictureListModel::Remove(std::vector<std::pair<int, int>> ranges) {
  for (auto& [first, last] : ranges) {
    first = std::max(first, 0);
    last = std::min(last, shown_rows_ - 1);
  }
  const RowRuns runs = JoinRowRuns(std::move(ranges));
  if (runs.empty()) return;
  if (RowsIn(runs) >= shown_rows_) {
    RemoveAll();
    return;
  }
  // From the last run to the first, so the rows still to go keep their numbers.
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    beginRemoveRows({}, run->first, run->second);
    list_.RemoveRange(static_cast<std::size_t>(run->first),
                      static_cast<std::size_t>(run->second) + 1);
    shown_rows_ = static_cast<int>(list_.size());
    endRemoveRows();
  }
}

void PictureListModel::RemoveAll() {
  beginResetModel();
  list_.RemoveAll();
  shown_rows_ = 0;
  worker_.Clear();
  thumbnails_.clear();
  remade_paths_.clear();
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
    if (row < shown_rows_) {
      remade_paths_.insert(QString::fromStdString(list_[static_cast<std::size_t>(row)].path.string()));
    }
  }
  // Every thumbnail of those files goes, in any turn: the run also resets the turns.
  for (const QString& key : thumbnails_.keys()) {
    if (remade_paths_.contains(key.section('|', 2))) thumbnails_.remove(key);
  }
  const std::size_t count = std::min(entries.size(), list_.size());
  for (std::size_t i = 0; i < count; ++i) {
    list_[i].rotation = entries[i].rotation;
    list_[i].flip = entries[i].flip;
  }
  if (shown_rows_ > 0) {
    emit dataChanged(index(0, 0), index(shown_rows_ - 1, 0), {Qt::DecorationRole});
    AskInBackground(0, shown_rows_ - 1);
  }
}

void PictureListModel::SetThumbnailsOn(bool on) {
  if (on == thumbnails_on_) return;
  thumbnails_on_ = on;
  if (!on) {
    worker_.Clear();
    thumbnails_.clear();
  }
  if (shown_rows_ > 0) {
    emit dataChanged(index(0, 0), index(shown_rows_ - 1, 0), {Qt::DecorationRole});
    AskInBackground(0, shown_rows_ - 1);
  }
}

void PictureListModel::TakeThumbnail(const QString& key, const QImage& image, bool fresh) {
  if (!thumbnails_on_) return;
  // The key ends with the path; a thumbnail of a file since written over is not kept.
  const QString path = key.section('|', 2);
  if (remade_paths_.contains(path)) {
    if (!fresh) {
      // Asked again (made from the file) when the rows are drawn again.
      QTimer::singleShot(0, this, [this] {
        if (shown_rows_ > 0)
          emit dataChanged(index(0, 0), index(shown_rows_ - 1, 0), {Qt::DecorationRole});
      });
      return;
    }
    remade_paths_.remove(path);
  }
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
