#include "platform/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace brindle {
namespace {

namespace fs = std::filesystem;

mode_t CurrentUmask() {
  mode_t mask = umask(0);
  umask(mask);
  return mask;
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// A file descriptor that is closed on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    if (fd_ < 0) return true;
    int r = ::close(fd_);
    fd_ = -1;
    return r == 0;
  }

 private:
  int fd_;
};

// Makes an empty temporary file beside the target with the permissions the target has (or would
// get).
bool MakeTemporary(const fs::path& path, std::string& temp, std::string* error) {
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    SetError(error, std::strerror(errno));
    return false;
  }
  FileDescriptor owner(fd);
  struct stat existing {};
  mode_t mode = (::stat(path.c_str(), &existing) == 0) ? (existing.st_mode & 07777)
                                                       : (0666 & ~CurrentUmask());
  ::fchmod(fd, mode);
  return true;
}

bool Finish(const fs::path& path, const std::string& temp, std::string* error) {
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    SetError(error, std::strerror(errno));
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error) {
  std::string temp;
  if (!MakeTemporary(path, temp, error)) return false;
  FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  bool ok = fd.get() >= 0;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (ok && ::fsync(fd.get()) != 0) ok = false;
  if (!fd.Close()) ok = false;
  if (!ok) {
    SetError(error, std::strerror(errno));
    ::unlink(temp.c_str());
    return false;
  }
  return Finish(path, temp, error);
}

bool WriteFileAtomicallyWith(const fs::path& path,
                             const std::function<bool(const fs::path& temp)>& writer,
                             std::string* error) {
  std::string temp;
  if (!MakeTemporary(path, temp, error)) return false;
  bool ok = false;
  try {
    ok = writer(temp);
  } catch (...) {
    ok = false;
  }
  if (!ok) {
    if (error && error->empty()) *error = "write failed";
    ::unlink(temp.c_str());
    return false;
  }
  return Finish(path, temp, error);
}

bool ReadWholeFile(const fs::path& path, std::string& bytes) {
  // A folder opens like a file here and only fails on reading; istream::read turns that failure
  // into a state instead of an exception.
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string content;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    content.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return false;
  bytes = std::move(content);
  return true;
}

}  // namespace brindle
