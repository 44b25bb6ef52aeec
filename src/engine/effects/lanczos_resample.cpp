#include "engine/effects/lanczos_resample.h"

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

std::uint8_t ToSample(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 255.0f) return 255;
  return static_cast<std::uint8_t>(value + 0.5f);
}

}  // namespace

LanczosResampler::Filter LanczosResampler::Weigh(int source_length, int target_length) {
  const double scale = static_cast<double>(source_length) / target_length;
  // Shrinking widens the filter by the scale so that every source pixel is taken into account.
  const double stretch = std::max(scale, 1.0);
  const double support = kLobes * stretch;
  Filter filter;
  filter.stride = static_cast<int>(std::ceil(support)) * 2 + 1;
  filter.first.resize(static_cast<std::size_t>(target_length));
  filter.count.resize(static_cast<std::size_t>(target_length));
  filter.weights.assign(static_cast<std::size_t>(target_length) * filter.stride, 0.0f);
  for (int x = 0; x < target_length; ++x) {
    const double centre = (x + 0.5) * scale;
    const int start = std::max(0, static_cast<int>(centre - support + 0.5));
    const int stop =
        std::min({source_length, static_cast<int>(centre + support + 0.5), start + filter.stride});
    float* weights = &filter.weights[static_cast<std::size_t>(x) * filter.stride];
    double total = 0.0;
    for (int j = start; j < stop; ++j) {
      const double w = Lanczos3((j + 0.5 - centre) / stretch);
      weights[j - start] = static_cast<float>(w);
      total += w;
    }
    if (total != 0.0) {
      for (int j = 0; j < stop - start; ++j) weights[j] = static_cast<float>(weights[j] / total);
    }
    filter.first[static_cast<std::size_t>(x)] = start;
    filter.count[static_cast<std::size_t>(x)] = stop - start;
  }
  return filter;
}

LanczosResampler::LanczosResampler(int source_width, int source_height, int channels, int width,
                                   int height)
    : across_(Weigh(source_width, width)),
      down_(Weigh(source_height, height)),
      source_row_length_(static_cast<std::size_t>(source_width) * channels),
      channels_(channels) {
  recent_.resize(static_cast<std::size_t>(down_.stride) * source_row_length_);
  column_mix_.resize(source_row_length_);
  target_.width = width;
  target_.height = height;
  target_.channels = channels;
  target_.samples.resize(static_cast<std::size_t>(width) * height * channels);
}

void LanczosResampler::AddRow(const std::uint8_t* row) {
  float* kept = &recent_[static_cast<std::size_t>(rows_added_ % down_.stride) * source_row_length_];
  for (std::size_t i = 0; i < source_row_length_; ++i) kept[i] = row[i];
  ++rows_added_;
  // Every output row whose filter ends at or before this row can be made now.
  while (next_row_ < target_.height && down_.first[static_cast<std::size_t>(next_row_)] +
                                               down_.count[static_cast<std::size_t>(next_row_)] <=
                                           rows_added_) {
    MakeRow(next_row_++);
  }
}

void LanczosResampler::MakeRow(int y) {
  // Down first, over whole rows (which vectorises), then across the one mixed row: fewer rows are
  // filtered across than going across first when the picture shrinks.
  const float* weights = &down_.weights[static_cast<std::size_t>(y) * down_.stride];
  const int first = down_.first[static_cast<std::size_t>(y)];
  const int count = down_.count[static_cast<std::size_t>(y)];
  float* __restrict mix = column_mix_.data();
  std::fill(column_mix_.begin(), column_mix_.end(), 0.0f);
  for (int k = 0; k < count; ++k) {
    const float w = weights[k];
    const float* __restrict in =
        &recent_[static_cast<std::size_t>((first + k) % down_.stride) * source_row_length_];
    for (std::size_t i = 0; i < source_row_length_; ++i) mix[i] += w * in[i];
  }

  const int width = target_.width;
  std::uint8_t* out =
      &target_.samples[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * channels_];
  for (int x = 0; x < width; ++x) {
    const float* w = &across_.weights[static_cast<std::size_t>(x) * across_.stride];
    const float* in = mix + static_cast<std::size_t>(across_.first[static_cast<std::size_t>(x)]) *
                                static_cast<std::size_t>(channels_);
    const int taps = across_.count[static_cast<std::size_t>(x)];
    std::uint8_t* pixel = out + static_cast<std::size_t>(x) * channels_;
    if (channels_ == 3) {
      float r = 0.0f, g = 0.0f, b = 0.0f;
      for (int k = 0; k < taps; ++k) {
        r += w[k] * in[3 * k];
        g += w[k] * in[3 * k + 1];
        b += w[k] * in[3 * k + 2];
      }
      pixel[0] = ToSample(r);
      pixel[1] = ToSample(g);
      pixel[2] = ToSample(b);
    } else {
      for (int c = 0; c < channels_; ++c) {
        float sum = 0.0f;
        for (int k = 0; k < taps; ++k) sum += w[k] * in[k * channels_ + c];
        pixel[c] = ToSample(sum);
      }
    }
  }
}

}  // namespace brindle
