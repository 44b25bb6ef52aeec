#pragma once
// A separable Lanczos-3 resampler for 8-bit pixels fed row by row: the same filter as
// ImageMagick's Lanczos resize, computed in single precision. Each output row is made as soon as
// the source rows under its filter have come, so only those few rows are held besides the output:
// a decoder can feed it without keeping its picture.

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/process/pixels8.h"

namespace brindle {

class LanczosResampler {
 public:
  // To width x height (each at least 1); the pixel grids share their outer edges, as in
  // ImageMagick's resize.
  LanczosResampler(int source_width, int source_height, int channels, int width, int height);

  // The next source row, top to bottom: source_width * channels samples.
  void AddRow(const std::uint8_t* row);

  // The output, complete once every source row was added.
  Pixels8 Take() { return std::move(target_); }

 private:
  // For each output position along one axis: the first source index, how many, their weights.
  struct Filter {
    std::vector<int> first;
    std::vector<int> count;
    int stride = 0;              // weights kept per output position
    std::vector<float> weights;  // stride per output position, normalised to a sum of 1
  };
  static Filter Weigh(int source_length, int target_length);
  void MakeRow(int y);

  Filter across_;
  Filter down_;
  std::size_t source_row_length_ = 0;  // samples
  int channels_ = 0;
  int rows_added_ = 0;
  int next_row_ = 0;
  // The latest source rows, down_.stride of them, by source row modulo that.
  std::vector<float> recent_;
  std::vector<float> column_mix_;  // the source rows under an output row, weighted together
  Pixels8 target_;
};

}  // namespace brindle
