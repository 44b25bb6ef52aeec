#pragma once
// The per-user store of small named values: preferences, remembered folders, the tool windows'
// settings and the font mappings (sub-key "Fonts"). Numbers are 32-bit, texts are UTF-8. Every
// operation opens the store, does its one thing and closes it: nothing is cached, so two windows or
// two processes always see each other's writes. Failures are never reported; callers use defaults.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

class PreferenceStore {
 public:
  // The store of the current user (an INI file of organisation "Brindle" under ~/.config).
  PreferenceStore();
  // A store kept in the given file (tests, portable set-ups).
  explicit PreferenceStore(std::filesystem::path file);

  // key_path is "" for the product key, or a sub-key such as "Fonts".
  bool ReadText(std::string_view key_path, std::string_view name, std::string& value) const;
  bool ReadNumber(std::string_view key_path, std::string_view name, std::uint32_t& value) const;
  bool WriteText(std::string_view key_path, std::string_view name, std::string_view value) const;
  bool WriteNumber(std::string_view key_path, std::string_view name, std::uint32_t value) const;
  bool DeleteValue(std::string_view key_path, std::string_view name) const;

  // The names of every value under a key, in the store's order.
  std::vector<std::string> ValueNames(std::string_view key_path) const;

  // Convenience readers with the caller's default.
  std::int32_t NumberOr(std::string_view name, std::int32_t fallback) const;
  std::string TextOr(std::string_view name, std::string_view fallback) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace brindle
