#pragma once
// Makes the picture list's thumbnails on threads of their own, one per processor. It works on
// copies of what it needs (path, rotation, flip), never on the list, so the list may change at any
// time; each result reaches the window through the event loop, keyed as it was asked for.

#include <QImage>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace brindle {

struct ThumbnailRequest {
  QString key;  // ThumbnailKey of the entry at the time of asking
  QString path;
  int rotation = 0;
  bool flipped = false;
  int row = 0;         // the entry's row when asked: the order within one round
  bool fresh = false;  // the file was written over: a thumbnail in the shared cache is not trusted
};

// The key of an entry's thumbnail: its path and orientation.
QString ThumbnailKey(const QString& path, int rotation, bool flipped);

class ThumbnailWorker : public QObject {
  Q_OBJECT

 public:
  // shared_folder: the desktop's shared thumbnails (empty: none); workers: 0 for one per processor.
  explicit ThumbnailWorker(std::filesystem::path shared_folder, int workers = 0,
                           QObject* parent = nullptr);
  ~ThumbnailWorker() override;

  // Asks for a thumbnail. The requests of the latest round are made first (the rows just shown),
  // each round top-down by row; a key already waiting moves to the round it is asked in again.
  void Request(const ThumbnailRequest& request, int round);
  // Forgets every waiting request (the list was emptied or thumbnails switched off).
  void Clear();
  // Requests waiting or in hand.
  int pending() const;
  int workers() const { return static_cast<int>(threads_.size()); }

 signals:
  // One worker took the entry at this row (when asked).
  void Started(int row);
  // A failed picture has a null image; its line is already in the information log.
  void Made(const QString& key, const QImage& image, bool fresh);
  void Idle();

 private:
  struct Place {
    int round = 0;
    int row = 0;
    long long order = 0;  // the order of asking, among equals
    bool operator<(const Place& other) const {
      if (round != other.round) return round > other.round;
      if (row != other.row) return row < other.row;
      return order < other.order;
    }
  };
  void Work(std::stop_token stop);

  const std::filesystem::path shared_folder_;
  mutable std::mutex mutex_;
  std::condition_variable_any wake_;
  std::map<Place, ThumbnailRequest> waiting_;
  std::map<QString, Place> places_;  // where each waiting key stands
  long long asked_ = 0;
  int in_hand_ = 0;
  std::vector<std::jthread> threads_;
};

}  // namespace brindle
