// Times what the desktop program does when a setting changes while the effect preview shows a
// picture: the first preview of the picture, then refreshes with the brightness changed, each
// made by the same maker (which keeps the decoded picture) and decoded for display as the window
// does. Prints one line of seconds per stage, the medians over the refreshes.
//
// brindle_preview_refresh_bench PICTURE REFRESHES KEY=VALUE...
// (keys: bSize sizeValue bQuanlity quanlity, as brindle-cli takes them)

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/process/run_recipe.h"
#include "platform/files/app_folders.h"
#include "platform/magick/magick_environment.h"
#include "platform/magick/pixel_memory_pool.h"
#include "recipe/processing_options.h"
#include "run/preview/effect_preview.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool SetOption(brindle::ProcessingOptions& options, const std::string& pair) {
  const std::size_t equals = pair.find('=');
  if (equals == std::string::npos) return false;
  const std::string key = pair.substr(0, equals);
  const int value = std::atoi(pair.c_str() + equals + 1);
  if (key == "bSize")
    options.bSize = value;
  else if (key == "sizeValue")
    options.sizeValue = value;
  else if (key == "bQuanlity")
    options.bQuanlity = value;
  else if (key == "quanlity")
    options.quanlity = value;
  else
    return false;
  return true;
}

// Makes one preview and decodes it for display; false when either fails.
bool MakeAndShow(brindle::EffectPreviewMaker& maker, const brindle::RunRecipe& recipe,
                 const char* picture, double& made, double& shown) {
  Clock::time_point start = Clock::now();
  std::optional<brindle::EffectPreview> preview = maker.Make(recipe, picture, 0, 0);
  made = SecondsSince(start);
  if (!preview) return false;
  QImage image;
  image.loadFromData(QByteArray::fromRawData(preview->display_jpeg.data(),
                                             static_cast<qsizetype>(preview->display_jpeg.size())),
                     "JPEG");
  shown = SecondsSince(start);
  return !image.isNull();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PICTURE REFRESHES KEY=VALUE...\n", argv[0]);
    return 2;
  }
  // The program's own ImageMagick policy (memory limits) and its pool of pixel buffers apply, as in
  // the desktop program.
  brindle::UsePixelMemoryPool();
  brindle::MagickEnvironment magick(brindle::FindDataFolder() / "magick");
  if (!magick.usable()) {
    std::fprintf(stderr, "%s\n", magick.error().c_str());
    return 1;
  }
  brindle::RunRecipe recipe;
  recipe.options = brindle::InitialProcessingOptions();
  for (int i = 3; i < argc; ++i) {
    if (!SetOption(recipe.options, argv[i])) {
      std::fprintf(stderr, "unknown setting %s\n", argv[i]);
      return 2;
    }
  }
  const int refreshes = std::max(1, std::atoi(argv[2]));
  brindle::EffectPreviewMaker maker;
  double first_made = 0;
  double first_shown = 0;
  if (!MakeAndShow(maker, recipe, argv[1], first_made, first_shown)) {
    std::fprintf(stderr, "no preview of %s\n", argv[1]);
    return 1;
  }
  std::vector<double> made(static_cast<std::size_t>(refreshes));
  std::vector<double> shown(made.size());
  recipe.options.bLight = 1;
  for (std::size_t i = 0; i < made.size(); ++i) {
    recipe.options.lightValue = i % 2 == 0 ? 20 : -20;
    if (!MakeAndShow(maker, recipe, argv[1], made[i], shown[i])) return 1;
  }
  std::printf("first %.3f %.3f refresh %.3f %.3f\n", first_made, first_shown, Median(made),
              Median(shown));
  return 0;
}
