#pragma once
// Naming the files the tools write: a name is free while no file or folder of that name exists;
// otherwise "(2)", "(3)", ... goes before the extension.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/text/text_case.h"

namespace brindle {

// True when a file, folder or link of that path exists.
bool PathTaken(const std::filesystem::path& path);

// The file name without its last extension ("a.tar.gz" gives "a.tar", "a" gives "a").
std::string NameWithoutLastExtension(std::string_view file_name);

// candidate when it is free; else the first free "<stem>(N)<extension>" for N = 2, 3, ..., where
// stem is candidate cut at its last ".".
std::filesystem::path FirstFreeName(const std::filesystem::path& candidate,
                                    std::string_view extension);

}  // namespace brindle
