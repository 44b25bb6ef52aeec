#pragma once
// Where the slice tool puts a picture's files: the folder of its tiles, each tile's numbered name
// and the name of its HTML page. A name is free while no file or folder of that name exists.

#include <filesystem>
#include <string>
#include <string_view>

namespace brindle {

// The folder of a picture's tiles: the output folder followed by the picture's relative folder
// ("" or beginning with "/"); with the sub-folder option, inside that a folder named after the
// picture's base name without leading and trailing blanks. A name that is nothing but blanks
// and dots ("", ".", "..") names no folder of its own, so the tiles stay in the relative folder
// and never land outside the output folder.
std::filesystem::path SliceTileFolder(const std::filesystem::path& output_folder,
                                      std::string_view relative_folder, std::string_view base_name,
                                      bool sub_folder);

// How many digits the zero-padded tile numbers of a cut into total tiles have: 1 up to 9 tiles,
// 2 up to 99, 3 up to 999, else 4.
int TileNumberWidth(long long total);

// The path of tile number (from 1) of a cut into total tiles: "<folder>/<base>-<number><ext>" with
// the number zero-padded to TileNumberWidth; while that is taken, the number padded with spaces
// to the same width and a counter from 2: "<base>- 7(2)<ext>".
std::filesystem::path SliceTilePath(const std::filesystem::path& tile_folder,
                                    std::string_view base_name, long long number, long long total,
                                    std::string_view extension);

// The page of a picture: "<output><relative>/<base>.html", or while that is taken
// "<base>(2).html", "(3)", ...; beside the tile sub-folder, not inside it.
std::filesystem::path SlicePagePath(const std::filesystem::path& output_folder,
                                    std::string_view relative_folder, std::string_view base_name);

}  // namespace brindle
