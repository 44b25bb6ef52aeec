#include "engine/lanczos_resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

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
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
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
      channels_(channels) {
  recent_.resize(static_cast<std::size_t>(down_.stride) * width * channels);
  row_sum_.resize(static_cast<std::size_t>(width) * channels);
  target_.width = width;
  target_.height = height;
  target_.channels = channels;
  target_.samples.resize(static_cast<std::size_t>(width) * height * channels);
}

void LanczosResampler::AddRow(const std::uint8_t* row) {
  const int width = target_.width;
  const std::size_t row_length = static_cast<std::size_t>(width) * channels_;
  float* out = &recent_[static_cast<std::size_t>(rows_added_ % down_.stride) * row_length];
  for (int x = 0; x < width; ++x) {
    const float* weights = &across_.weights[static_cast<std::size_t>(x) * across_.stride];
    const std::uint8_t* in = row + static_cast<std::size_t>(across_.first[x]) * channels_;
    const int count = across_.count[static_cast<std::size_t>(x)];
    for (int c = 0; c < channels_; ++c) {
      float sum = 0.0f;
      for (int k = 0; k < count; ++k) sum += weights[k] * in[k * channels_ + c];
      out[static_cast<std::size_t>(x) * channels_ + c] = sum;
    }
  }
  ++rows_added_;
  // Every output row whose filter ends at or before this row can be made now.
  while (next_row_ < target_.height && down_.first[static_cast<std::size_t>(next_row_)] +
                                               down_.count[static_cast<std::size_t>(next_row_)] <=
                                           rows_added_) {
    MakeRow(next_row_++);
  }
}

void LanczosResampler::MakeRow(int y) {
  const std::size_t row_length = static_cast<std::size_t>(target_.width) * channels_;
  const float* weights = &down_.weights[static_cast<std::size_t>(y) * down_.stride];
  const int first = down_.first[static_cast<std::size_t>(y)];
  const int count = down_.count[static_cast<std::size_t>(y)];
  std::vector<float>& sum = row_sum_;
  std::fill(sum.begin(), sum.end(), 0.0f);
  for (int k = 0; k < count; ++k) {
    const float w = weights[k];
    const float* in = &recent_[static_cast<std::size_t>((first + k) % down_.stride) * row_length];
    for (std::size_t i = 0; i < row_length; ++i) sum[i] += w * in[i];
  }
  std::uint8_t* out = &target_.samples[static_cast<std::size_t>(y) * row_length];
  for (std::size_t i = 0; i < row_length; ++i) out[i] = ToSample(sum[i]);
}

}  // namespace brindle
