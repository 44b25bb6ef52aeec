#include "platform/files/buffered_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace brindle {

BufferedFileReader::BufferedFileReader(const std::filesystem::path& path) {
  // Opened without waiting so that a pipe is seen (and refused) instead of blocking the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    ::close(fd);
    return;
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
}

BufferedFileReader::~BufferedFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool BufferedFileReader::Fill() {
  if (buffer_.empty()) buffer_.resize(kBufferSize);
  buffer_start_ = position_;
  buffer_length_ = 0;
  while (buffer_length_ < buffer_.size()) {
    ssize_t got = ::pread(fd_, buffer_.data() + buffer_length_, buffer_.size() - buffer_length_,
                          static_cast<off_t>(buffer_start_ + buffer_length_));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    buffer_length_ += static_cast<std::size_t>(got);
  }
  return buffer_length_ > 0;
}

std::size_t BufferedFileReader::ReadSome(void* out, std::size_t count) {
  if (fd_ < 0) return 0;
  auto* target = static_cast<unsigned char*>(out);
  std::size_t done = 0;
  while (done < count && position_ < size_) {
    if (position_ < buffer_start_ || position_ >= buffer_start_ + buffer_length_) {
      // The file may have shrunk since it was opened: then its end is where reading stops.
      if (!Fill()) {
        size_ = position_;
        break;
      }
    }
    std::size_t offset = static_cast<std::size_t>(position_ - buffer_start_);
    std::size_t available = buffer_length_ - offset;
    std::size_t wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>({count - done, available, size_ - position_}));
    std::memcpy(target + done, buffer_.data() + offset, wanted);
    done += wanted;
    position_ += wanted;
  }
  return done;
}

bool BufferedFileReader::Read(void* out, std::size_t count) {
  if (ReadSome(out, count) == count) return true;
  position_ = size_;
  return false;
}

bool BufferedFileReader::ReadByte(std::uint8_t& out) { return Read(&out, 1); }

bool BufferedFileReader::Skip(std::uint64_t count) {
  if (count > remaining()) {
    position_ = size_;
    return false;
  }
  position_ += count;
  return true;
}

bool BufferedFileReader::Seek(std::uint64_t offset) {
  if (offset > size_) {
    position_ = size_;
    return false;
  }
  position_ = offset;
  return true;
}

}  // namespace brindle
