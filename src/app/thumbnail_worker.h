#pragma once
// Makes the picture list's thumbnails on a thread of its own. It works on copies of what it needs
// (path, rotation, flip), never on the list, so the list may change at any time; each result
// reaches the window through the event loop, keyed as it was asked for.

#include <QImage>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

namespace brindle {

struct ThumbnailRequest {
  QString key;  // ThumbnailKey of the entry at the time of asking
  QString path;
  int rotation = 0;
  bool flipped = false;
};

// The key of an entry's thumbnail: its path and orientation.
QString ThumbnailKey(const QString& path, int rotation, bool flipped);

class ThumbnailWorker : public QObject {
  Q_OBJECT

 public:
  explicit ThumbnailWorker(QObject* parent = nullptr);
  ~ThumbnailWorker() override;

  // Asks for a thumbnail; the latest request is made first (the rows just shown). A key already
  // waiting is not asked twice.
  void Request(const ThumbnailRequest& request);
  // Forgets every waiting request (the list was emptied or thumbnails switched off).
  void Clear();
  // Requests waiting or in hand.
  int pending() const;

 signals:
  // A failed picture has a null image; its line is already in the information log.
  void Made(const QString& key, const QImage& image);
  void Idle();

 private:
  void Work(std::stop_token stop);

  mutable std::mutex mutex_;
  std::condition_variable_any wake_;
  std::deque<ThumbnailRequest> waiting_;
  std::set<QString> waiting_keys_;
  int in_hand_ = 0;
  std::jthread thread_;
};

}  // namespace brindle
