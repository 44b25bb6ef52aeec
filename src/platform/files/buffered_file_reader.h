#pragma once
// Reading the first bytes and the headers of picture files: a read-only regular file read through a
// small buffer, with every read and skip checked against the file's length, so a header walk over a
// truncated or hostile file ends with a failed read instead of running past the end or loading the
// whole file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace brindle {

class BufferedFileReader {
 public:
  static constexpr std::size_t kBufferSize = 16384;

  // Opens path for reading. Only regular files open: a folder, a device or a pipe does not (a pipe
  // could keep the reader waiting for ever).
  explicit BufferedFileReader(const std::filesystem::path& path);
  ~BufferedFileReader();
  BufferedFileReader(const BufferedFileReader&) = delete;
  BufferedFileReader& operator=(const BufferedFileReader&) = delete;

  bool is_open() const { return fd_ >= 0; }
  // The file's length when it was opened.
  std::uint64_t size() const { return size_; }
  std::uint64_t position() const { return position_; }
  std::uint64_t remaining() const { return position_ < size_ ? size_ - position_ : 0; }

  // Reads exactly count bytes at the current position and moves past them. false, with the position
  // at the end of the file, when fewer bytes are left (or the file cannot be read).
  bool Read(void* out, std::size_t count);
  bool ReadByte(std::uint8_t& out);
  // Reads up to count bytes; returns how many were read.
  std::size_t ReadSome(void* out, std::size_t count);

  // Moves count bytes forward; false, with the position at the end of the file, when that passes
  // it.
  bool Skip(std::uint64_t count);
  // Moves to offset; false, with the position at the end of the file, when offset is beyond it.
  bool Seek(std::uint64_t offset);

 private:
  bool Fill();

  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  std::vector<unsigned char> buffer_;
  std::uint64_t buffer_start_ = 0;  // file offset of buffer_[0]
  std::size_t buffer_length_ = 0;
};

}  // namespace brindle
