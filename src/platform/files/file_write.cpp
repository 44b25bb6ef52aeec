#include "platform/files/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <random>

#include "platform/text/text_encoding.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

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

// Longest part of the target's name that goes into the temporary file's name, so that the temporary
// name stays within the file system's 255-byte limit for any target that itself fits.
constexpr std::size_t kTemporaryNameStemBytes = 200;

// Makes an empty temporary file beside the target with the permissions the target has, or, for a
// new target, the ones a new file gets (the kernel applies the umask, which is never changed here:
// other threads may be creating files at the same time). On failure returns the error number.
int MakeTemporary(const fs::path& path, std::string& temp) {
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::string stem(CutUtf8(path.filename().string(), kTemporaryNameStemBytes));
  struct stat existing {};
  bool replaces = ::stat(path.c_str(), &existing) == 0;
  thread_local std::mt19937_64 random{std::random_device{}()};
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  int error_number = EEXIST;
  for (int attempt = 0; attempt < 100 && error_number == EEXIST; ++attempt) {
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kLetters[random() % (sizeof kLetters - 1)];
    temp = (folder / ("." + stem + "." + suffix)).string();
    FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
      error_number = errno;
      continue;
    }
    if (replaces) ::fchmod(fd.get(), existing.st_mode & 07777);
    return 0;
  }
  return error_number;
}

// Moves the complete temporary file over the target; returns the error number on failure.
int Finish(const fs::path& path, const std::string& temp) {
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int error_number = errno;
    ::unlink(temp.c_str());
    return error_number;
  }
  return 0;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, FileWriteFailure& failure) {
  failure = FileWriteFailure{};
  std::string temp;
  if (int error_number = MakeTemporary(path, temp); error_number != 0) {
    failure = {FileWriteFailure::Step::kOpen, error_number};
    return false;
  }
  FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (fd.get() < 0) {
    failure = {FileWriteFailure::Step::kOpen, errno};
    ::unlink(temp.c_str());
    return false;
  }
  int error_number = 0;
  std::size_t done = 0;
  while (error_number == 0 && done < bytes.size()) {
    ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_number = n < 0 ? errno : EIO;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (error_number == 0 && ::fsync(fd.get()) != 0) error_number = errno;
  if (!fd.Close() && error_number == 0) error_number = errno;
  if (error_number == 0) {
    error_number = Finish(path, temp);
  } else {
    ::unlink(temp.c_str());
  }
  if (error_number != 0) {
    failure = {FileWriteFailure::Step::kWrite, error_number};
    return false;
  }
  return true;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error) {
  FileWriteFailure failure;
  if (WriteFileAtomically(path, bytes, failure)) return true;
  SetError(error, std::strerror(failure.error_number));
  return false;
}

bool WriteFileAtomicallyWith(const fs::path& path,
                             const std::function<bool(const fs::path& temp)>& writer,
                             std::string* error) {
  std::string temp;
  if (int error_number = MakeTemporary(path, temp); error_number != 0) {
    SetError(error, std::strerror(error_number));
    return false;
  }
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
  if (int error_number = Finish(path, temp); error_number != 0) {
    SetError(error, std::strerror(error_number));
    return false;
  }
  return true;
}

bool ReadWholeFile(const fs::path& path, std::string& bytes) {
  // A folder opens like a file here and only fails on reading; istream::read turns that failure
  // into a state instead of an exception.
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string content;
  // One allocation of the right size instead of doubling: a picture's bytes are held while it is
  // processed, and the copies of a growing buffer raise the peak memory of a run.
  const std::uintmax_t size = fs::file_size(path, ec);
  if (!ec) content.reserve(static_cast<std::size_t>(size));
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    content.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return false;
  bytes = std::move(content);
  return true;
}

}  // namespace brindle
