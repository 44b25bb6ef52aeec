#pragma once
// Samples made by the core shown by Qt: the QImage shares the buffer instead of copying it, which
// for a large photograph is a good part of a preview's time.

#include <QImage>
#include <memory>
#include <utility>

#include "engine/process/pixels8.h"

namespace brindle {

// An RGB picture (3 samples a pixel) as a QImage that holds on to its samples until the last copy
// of the image is gone; a null image for others.
inline QImage ImageOfPixels(std::shared_ptr<const Pixels8> pixels) {
  if (!pixels || pixels->channels != 3 || pixels->width <= 0 || pixels->height <= 0) return {};
  auto* held = new std::shared_ptr<const Pixels8>(std::move(pixels));
  const Pixels8& shown = **held;
  return QImage(
      shown.samples.data(), shown.width, shown.height, static_cast<qsizetype>(shown.width) * 3,
      QImage::Format_RGB888,
      [](void* data) { delete static_cast<std::shared_ptr<const Pixels8>*>(data); }, held);
}

}  // namespace brindle
