#pragma once
// The names of the joined pictures: a group's picture is named after its folder, a list's after its
// first picture with "_拼接后"; while a file of that name exists, "(2)", "(3)", ... goes before the
// extension.

#include <filesystem>
#include <string_view>

namespace brindle {

// "<output>/<group folder's name><extension>" ("a" for a group folder without a name), then
// "<output>/<name>(2)<extension>", ...
std::filesystem::path JoinGroupTargetPath(const std::filesystem::path& output_folder,
                                          const std::filesystem::path& group,
                                          std::string_view extension);

// "<output>/<first picture's name without its extension>_拼接后<extension>", then
// "..._拼接后(2)<extension>", ...
std::filesystem::path JoinListTargetPath(const std::filesystem::path& output_folder,
                                         const std::filesystem::path& first_picture,
                                         std::string_view extension);

}  // namespace brindle
