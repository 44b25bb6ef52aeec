#include "support/test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/magick/magick_environment.h"

extern char** environ;

namespace brindle::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "brindle-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Tests may leave read-only folders behind; give write rights back before removing.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

fs::path DataFolder() { return fs::path(BRINDLE_TEST_DATA_DIR); }

void EnsureMagick() {
  static std::once_flag once;
  static std::unique_ptr<MagickEnvironment> environment;
  std::call_once(once, [] {
    environment = std::make_unique<MagickEnvironment>(DataFolder() / "magick");
    if (!environment->usable()) throw std::runtime_error(environment->error());
    // Kept for the life of the test program: ImageMagick cannot be started twice.
    static struct Keeper {
      ~Keeper() { environment.reset(); }
    } keeper;
  });
}

MagickWandPtr MakePicture(size_t width, size_t height, const char* format) {
  EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr background = MakePixelWand("#336699");
  MagickNewImage(wand.get(), width, height, background.get());
  DrawingWandPtr draw = MakeDrawingWand();
  PixelWandPtr fill = MakePixelWand("#ffcc00");
  DrawSetFillColor(draw.get(), fill.get());
  DrawRectangle(draw.get(), 0, 0, width / 2.0, height / 2.0);
  PixelWandPtr fill2 = MakePixelWand("#cc3344");
  DrawSetFillColor(draw.get(), fill2.get());
  DrawEllipse(draw.get(), width * 0.6, height * 0.6, width / 5.0 + 1, height / 5.0 + 1, 0, 360);
  MagickDrawImage(wand.get(), draw.get());
  MagickAddNoiseImage(wand.get(), GaussianNoise);
  MagickSetImageFormat(wand.get(), format);
  return wand;
}

void WritePicture(const fs::path& path, size_t width, size_t height, const char* format) {
  MagickWandPtr wand = MakePicture(width, height, format);
  std::string error;
  if (!WritePictureFile(wand.get(), path, &error)) throw std::runtime_error(error);
}

void WriteAnimatedGif(const fs::path& path, size_t width, size_t height, bool header_87a) {
  EnsureMagick();
  MagickWandPtr wand = MakeMagickWand();
  PixelWandPtr red = MakePixelWand("#ff0000");
  PixelWandPtr blue = MakePixelWand("#0000ff");
  MagickNewImage(wand.get(), width, height, red.get());
  MagickNewImage(wand.get(), width, height, blue.get());
  MagickSetFormat(wand.get(), "GIF");
  MagickResetIterator(wand.get());
  size_t length = 0;
  MagickBlobPtr blob(MagickGetImagesBlob(wand.get(), &length));
  std::string bytes(reinterpret_cast<const char*>(blob.get()), length);
  if (bytes.compare(0, 6, "GIF89a") != 0) throw std::runtime_error("no GIF89a header written");
  if (header_87a) bytes.replace(3, 3, "87a");
  WriteFile(path, bytes);
}

const FontCatalogue& MachineCatalogue() {
  static const FontCatalogue catalogue = [] {
    EnsureMagick();
    return LoadFontCatalogue({});
  }();
  return catalogue;
}

std::string DejaVuFontFile(std::string_view file_name) {
  return "/usr/share/fonts/truetype/dejavu/" + std::string(file_name);
}

FontCatalogue CatalogueWithAMissingBoldFace() {
  FontCatalogue catalogue;
  FontFace regular;
  regular.type_name = "DejaVu-Sans";
  regular.family = "DejaVu Sans";
  regular.glyph_file = DejaVuFontFile("DejaVuSans.ttf");
  catalogue.AddFace("Odd", regular);
  FontFace bold;
  bold.type_name = "Helvetica-Bold";
  bold.family = "Helvetica";
  bold.glyph_file = "/usr/share/fonts/no-such-folder/NoSuchFace-Bold.ttf";
  bold.weight = 700;
  catalogue.AddFace("Odd", bold);
  return catalogue;
}

std::vector<std::string> EntriesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       it != fs::recursive_directory_iterator(); ++it) {
    names.push_back(it->path().lexically_relative(folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) names.push_back(entry.path().lexically_relative(folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ExifWithOrientation(int orientation) {
  const unsigned char bytes[] = {'E',
                                 'x',
                                 'i',
                                 'f',
                                 0,
                                 0,  // Exif header
                                 'I',
                                 'I',
                                 42,
                                 0,
                                 8,
                                 0,
                                 0,
                                 0,  // TIFF header, first directory at 8
                                 1,
                                 0,  // one entry
                                 0x12,
                                 0x01,
                                 3,
                                 0,
                                 1,
                                 0,
                                 0,
                                 0,  // orientation, SHORT, count 1
                                 static_cast<unsigned char>(orientation),
                                 0,
                                 0,
                                 0,  // value
                                 0,
                                 0,
                                 0,
                                 0};  // no next directory
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

CommandResult RunCli(const std::vector<std::string>& args,
                     const std::vector<std::string>& extra_environment) {
  return CliProcess(args, extra_environment).Wait();
}

CliCommandLine::CliCommandLine(const std::vector<std::string>& args,
                               const std::vector<std::string>& extra_environment)
    : argv_text_{BRINDLE_CLI_PATH} {
  argv_text_.insert(argv_text_.end(), args.begin(), args.end());
  for (char** e = environ; *e; ++e) env_text_.emplace_back(*e);
  env_text_.insert(env_text_.end(), extra_environment.begin(), extra_environment.end());
  for (auto& a : argv_text_) argv_.push_back(a.data());
  argv_.push_back(nullptr);
  for (auto& e : env_text_) envp_.push_back(e.data());
  envp_.push_back(nullptr);
}

CliProcess::CliProcess(const std::vector<std::string>& args,
                       const std::vector<std::string>& extra_environment) {
  fs::path out_file = scratch_ / "out";
  fs::path err_file = scratch_ / "err";

  CliCommandLine command_line(args, extra_environment);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, command_line.program(), &actions, nullptr, command_line.argv(),
                       command_line.envp());
  posix_spawn_file_actions_destroy(&actions);
  if (rc == 0) pid_ = pid;
}

CliProcess::~CliProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

CommandResult CliProcess::Wait() {
  CommandResult result;
  if (pid_ <= 0) return result;
  int wstatus = 0;
  waitpid(pid_, &wstatus, 0);
  pid_ = -1;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = ReadFile(scratch_ / "out");
  result.err = ReadFile(scratch_ / "err");
  return result;
}

}  // namespace brindle::test
