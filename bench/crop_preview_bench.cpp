// Times what the crop window does when the crop width changes while it shows a picture: the first
// preview of the picture, then previews with the width changed, each made by the same maker (which
// keeps the picture it read) and handed to Qt as the window does. Prints the seconds of the
// first and the median of the others.
//
// brindle_crop_preview_bench PICTURE REFRESHES

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/widgets/pixels_image.h"
#include "platform/files/app_folders.h"
#include "platform/magick/magick_environment.h"
#include "platform/magick/pixel_memory_pool.h"
#include "tools/crop/crop_preview.h"

namespace {

using Clock = std::chrono::steady_clock;

// One preview made and decoded for display; the seconds it took, or a negative number on failure.
double Shown(brindle::CropPreviewMaker& maker, const brindle::CropJob& job) {
  const Clock::time_point start = Clock::now();
  brindle::CropPreview preview = maker.Generate(job, job.pictures, 0, true, brindle::ReadyStatus());
  if (!preview.shown) return -1;
  const QImage image = brindle::ImageOfPixels(std::move(preview.shown));
  if (image.isNull()) return -1;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PICTURE REFRESHES\n", argv[0]);
    return 2;
  }
  // The desktop program's pool of pixel buffers, as in the window.
  brindle::UsePixelMemoryPool();
  brindle::MagickEnvironment magick(brindle::FindDataFolder() / "magick");
  if (!magick.usable()) {
    std::fprintf(stderr, "%s\n", magick.error().c_str());
    return 1;
  }
  brindle::CropJob job;
  job.settings.picture_list_source = true;
  job.pictures = {argv[1]};
  job.save_mode = brindle::CropSaveMode::kToFolder;
  job.settings.fixed_width = 3000;
  job.settings.fixed_height = 2000;
  brindle::CropPreviewMaker maker;
  const double first = Shown(maker, job);
  std::vector<double> refreshes(static_cast<std::size_t>(std::max(1, std::atoi(argv[2]))));
  for (std::size_t i = 0; i < refreshes.size(); ++i) {
    job.settings.fixed_width = 3000 + static_cast<int>(i % 2) * 500;
    refreshes[i] = Shown(maker, job);
  }
  std::sort(refreshes.begin(), refreshes.end());
  if (first < 0 || refreshes.front() < 0) {
    std::fprintf(stderr, "no crop preview of %s\n", argv[1]);
    return 1;
  }
  std::printf("first %.3f refresh %.3f\n", first, refreshes[refreshes.size() / 2]);
  return 0;
}
