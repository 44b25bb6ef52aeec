#pragma once
// The fuzz targets hand their input to readers that take a path: this writes it to one temporary
// file per process and returns its path.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace brindle::fuzz {

const std::filesystem::path& WriteInput(const std::uint8_t* data, std::size_t size);

}  // namespace brindle::fuzz
