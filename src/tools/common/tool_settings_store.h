#pragma once
// The tools' settings in the preference store: named values under the product key.

#include <cstdint>
#include <string>
#include <string_view>

#include "prefs/preference_store.h"
#include "tools/common/tool_settings.h"

namespace brindle {

template <typename Settings>
Settings LoadToolSettings(const PreferenceStore& store) {
  return ReadToolSettings<Settings>(
      {[&](std::string_view name, std::uint32_t& number) {
         return store.ReadNumber("", name, number);
       },
       [&](std::string_view name, std::string& text) { return store.ReadText("", name, text); }});
}

template <typename Settings>
void WriteToolSettings(const PreferenceStore& store, const Settings& settings) {
  WriteToolSettings(
      settings,
      {[&](std::string_view name, std::uint32_t number) { store.WriteNumber("", name, number); },
       [&](std::string_view name, const std::string& text) { store.WriteText("", name, text); }});
}

}  // namespace brindle
