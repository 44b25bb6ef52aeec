#pragma once
// The three folders of the program: what it writes per user (config.dat, recipe files), its cache
// "temp" folder (previews, scratch files) and the data folder installed with it (ImageMagick
// configuration, colour profiles), which it only reads. Tests point all three at folders of their
// own.

#include <filesystem>
#include <string>

namespace brindle {

struct AppFolders {
  std::filesystem::path config;  // $XDG_CONFIG_HOME/brindle
  std::filesystem::path temp;    // $XDG_CACHE_HOME/brindle/temp
  std::filesystem::path data;    // beside the executable (build tree) or <prefix>/share/brindle

  // The folders for the current user and this executable.
  static AppFolders ForCurrentUser();

  std::filesystem::path ConfigFile() const { return config / "config.dat"; }
  std::filesystem::path RecipeFolder() const { return config / "sz"; }
  std::filesystem::path DefaultRecipeFile() const { return config / "default_photo_process.sz"; }
  std::filesystem::path PreviewFile() const { return temp / "preview.jpg"; }
  std::filesystem::path MagickConfigFolder() const { return data / "magick"; }
  std::filesystem::path IccFolder() const { return data / "icc"; }

  // Creates the config and temp folders when missing; false with the reason when one cannot be
  // made.
  bool CreateWritableFolders(std::string* error = nullptr) const;
};

// The folder of the running executable.
std::filesystem::path ExecutableFolder();

// The installed data folder: "data" beside the executable when present (the build tree), else
// "../share/brindle" relative to it.
std::filesystem::path FindDataFolder();

}  // namespace brindle
