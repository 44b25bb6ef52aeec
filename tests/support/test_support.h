#pragma once
// Shared test helpers: a temporary folder per test, ImageMagick started once per test program with
// the program's own configuration, pictures drawn by ImageMagick, and running brindle-cli.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/font_catalogue.h"
#include "platform/magick/magick_wand.h"

namespace brindle::test {

// A fresh folder, removed with everything in it when the object goes away.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The build tree's data folder (ImageMagick configuration, colour profiles).
std::filesystem::path DataFolder();

// Starts ImageMagick with the program's configuration once for the whole test program.
void EnsureMagick();

// A picture of the given size: a colour gradient with some detail, so encoders have real work.
MagickWandPtr MakePicture(size_t width, size_t height, const char* format = "JPEG");

// Lowers one of ImageMagick's process-wide resource limits until the object goes away, so that the
// library refuses what goes past it.
class ResourceLimit {
 public:
  ResourceLimit(ResourceType type, MagickSizeType limit)
      : type_(type), saved_(MagickGetResourceLimit(type)) {
    MagickSetResourceLimit(type, limit);
  }
  ~ResourceLimit() { MagickSetResourceLimit(type_, saved_); }
  ResourceLimit(const ResourceLimit&) = delete;
  ResourceLimit& operator=(const ResourceLimit&) = delete;

 private:
  ResourceType type_;
  MagickSizeType saved_;
};

// This machine's fonts without any user mappings, read once.
const FontCatalogue& MachineCatalogue();

// A DejaVu font file (fonts-dejavu-core, fonts-dejavu-extra) by its file name, "DejaVuSans.ttf".
std::string DejaVuFontFile(std::string_view file_name);

// A catalogue of the one face name "Odd": DejaVu Sans as its regular face and a bold face whose
// font file is gone (a face ImageMagick still lists by its type name, "Helvetica-Bold"). The font
// check draws with the name's first face and passes; a bold wish chooses the face with no file.
FontCatalogue CatalogueWithAMissingBoldFace();

// Writes a picture made by MakePicture to path in the given format.
void WritePicture(const std::filesystem::path& path, size_t width, size_t height,
                  const char* format);

// A GIF of two frames, red then blue. With header_87a its header says "87a", so the file looks like
// a still GIF by its first bytes and only the decoder finds the second frame.
void WriteAnimatedGif(const std::filesystem::path& path, size_t width, size_t height,
                      bool header_87a = false);

// Every file and folder below folder, relative to it and sorted; none when it is missing.
std::vector<std::string> EntriesIn(const std::filesystem::path& folder);
// Only the files below folder, relative to it and sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// An Exif block ("Exif\0\0" and a little-endian TIFF directory) holding only the orientation tag.
std::string ExifWithOrientation(int orientation);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs brindle-cli with the arguments (no shell), the given standard input closed.
CommandResult RunCli(const std::vector<std::string>& args,
                     const std::vector<std::string>& extra_environment = {});

// The argument and environment vectors of one brindle-cli run (this process's environment plus
// extra "NAME=VALUE" entries), ready for posix_spawn.
class CliCommandLine {
 public:
  CliCommandLine(const std::vector<std::string>& args,
                 const std::vector<std::string>& extra_environment = {});
  CliCommandLine(const CliCommandLine&) = delete;
  CliCommandLine& operator=(const CliCommandLine&) = delete;
  const char* program() const { return argv_text_.front().c_str(); }
  char* const* argv() { return argv_.data(); }
  char* const* envp() { return envp_.data(); }

 private:
  std::vector<std::string> argv_text_;
  std::vector<std::string> env_text_;
  std::vector<char*> argv_;
  std::vector<char*> envp_;
};

// brindle-cli started like RunCli but not waited for, so a test can act on it (send a signal) while
// it runs. A process still running when the object goes away is killed and reaped.
class CliProcess {
 public:
  CliProcess(const std::vector<std::string>& args,
             const std::vector<std::string>& extra_environment = {});
  ~CliProcess();
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  // -1 when the program could not be started.
  pid_t pid() const { return pid_; }
  // Waits for the end: the exit status (128 + signal when killed by one) and both outputs.
  CommandResult Wait();

 private:
  TempFolder scratch_;
  pid_t pid_ = -1;
};

}  // namespace brindle::test
