#include "engine/lanczos_resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace brindle {
namespace {

constexpr double kLobes = 3.0;

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  const double pi_x = std::numbers::pi * x;
  return std::sin(pi_x) / pi_x;
}

double Lanczos3(double x) { return std::abs(x) < kLobes ? Sinc(x) * Sinc(x / kLobes) : 0.0; }

// For each output position along one axis, the first source index and the normalised weights.
struct Contributions {
  std::vector<int> first;
  std::vector<int> count;
  int stride = 0;              // weights per output position
  std::vector<float> weights;  // stride per output position
};

Contributions Weigh(int source_length, int target_length) {
  const double scale = static_cast<double>(source_length) / target_length;
  // Shrinking widens the filter by the scale so that every source pixel is taken into account.
  const double stretch = std::max(scale, 1.0);
  const double support = kLobes * stretch;
  Contributions c;
  c.stride = static_cast<int>(std::ceil(support)) * 2 + 1;
  c.first.resize(static_cast<std::size_t>(target_length));
  c.count.resize(static_cast<std::size_t>(target_length));
  c.weights.assign(static_cast<std::size_t>(target_length) * static_cast<std::size_t>(c.stride), 0);
  for (int x = 0; x < target_length; ++x) {
    const double centre = (x + 0.5) * scale;
    int start = std::max(0, static_cast<int>(centre - support + 0.5));
    int stop = std::min(source_length, static_cast<int>(centre + support + 0.5));
    stop = std::min(stop, start + c.stride);
    double total = 0.0;
    float* weights = &c.weights[static_cast<std::size_t>(x) * static_cast<std::size_t>(c.stride)];
    for (int j = start; j < stop; ++j) {
      const double w = Lanczos3((j + 0.5 - centre) / stretch);
      weights[j - start] = static_cast<float>(w);
      total += w;
    }
    if (total != 0.0) {
      for (int j = 0; j < stop - start; ++j) weights[j] = static_cast<float>(weights[j] / total);
    }
    c.first[static_cast<std::size_t>(x)] = start;
    c.count[static_cast<std::size_t>(x)] = stop - start;
  }
  return c;
}

std::uint8_t ToSample(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

Pixels8 ResampleLanczos3(const Pixels8& source, int width, int height) {
  const int channels = source.channels;
  const Contributions across = Weigh(source.width, width);
  const Contributions down = Weigh(source.height, height);
  const std::size_t source_row = static_cast<std::size_t>(source.width) * channels;
  const std::size_t target_row = static_cast<std::size_t>(width) * channels;

  Pixels8 target;
  target.width = width;
  target.height = height;
  target.channels = channels;
  target.samples.resize(target_row * static_cast<std::size_t>(height));

  // Each output row: the source rows it needs, weighted together, then filtered across. Only one
  // row of floats is kept, so the memory is that of the two pictures.
  std::vector<float> column_mix(source_row);
  for (int y = 0; y < height; ++y) {
    std::fill(column_mix.begin(), column_mix.end(), 0.0f);
    const float* row_weights = &down.weights[static_cast<std::size_t>(y) * down.stride];
    for (int k = 0; k < down.count[static_cast<std::size_t>(y)]; ++k) {
      const float w = row_weights[k];
      const std::uint8_t* in =
          &source.samples[static_cast<std::size_t>(down.first[static_cast<std::size_t>(y)] + k) *
                          source_row];
      for (std::size_t i = 0; i < source_row; ++i) column_mix[i] += w * static_cast<float>(in[i]);
    }
    std::uint8_t* out = &target.samples[static_cast<std::size_t>(y) * target_row];
    for (int x = 0; x < width; ++x) {
      const float* weights = &across.weights[static_cast<std::size_t>(x) * across.stride];
      const float* in =
          &column_mix[static_cast<std::size_t>(across.first[static_cast<std::size_t>(x)]) *
                      channels];
      const int count = across.count[static_cast<std::size_t>(x)];
      for (int c = 0; c < channels; ++c) {
        float sum = 0.0f;
        for (int k = 0; k < count; ++k) sum += weights[k] * in[k * channels + c];
        out[static_cast<std::size_t>(x) * channels + c] = ToSample(sum);
      }
    }
  }
  return target;
}

}  // namespace brindle
