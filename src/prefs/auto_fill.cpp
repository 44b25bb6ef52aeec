#include "prefs/auto_fill.h"

#include <string_view>

#include "platform/files/file_access.h"
#include "platform/text/text_case.h"
#include "prefs/preferences.h"

namespace brindle {
namespace {

std::vector<std::string> Entries(std::string_view history) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start <= history.size()) {
    std::size_t end = history.find('\r', start);
    if (end == std::string_view::npos) end = history.size();
    if (end > start) entries.emplace_back(history.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

std::string Joined(const std::vector<std::string>& entries) {
  std::string history;
  for (const std::string& entry : entries) {
    if (!history.empty()) history += '\r';
    history += entry;
  }
  return history;
}

// Stored as a 32-bit number: a negative value reads as a large one, so it is 10 as well.
int MaxCount(const PreferenceStore& store, const NumberPreference& preference) {
  std::uint32_t stored = 0;
  if (!store.ReadNumber("", preference.name, stored) || stored > kAutoFillMaxCount) {
    return preference.fallback;
  }
  return static_cast<int>(stored);
}

void Remember(PreferenceStore& store, const TextPreference& history,
              const NumberPreference& max_count, const std::string& entry) {
  if (entry.empty() || MaxCount(store, max_count) == 0) return;
  std::vector<std::string> kept{entry};
  const std::vector<std::string> entries = Entries(ReadPreference(store, history));
  for (std::size_t i = 0;
       i < entries.size() && kept.size() < static_cast<std::size_t>(kAutoFillHistoryLimit); ++i) {
    if (!EqualsIgnoringCase(entries[i], entry)) {
      kept.push_back(entries[i]);
    } else if (i == 0) {
      return;  // already on top
    }
  }
  WritePreference(store, history, Joined(kept));
}

}  // namespace

AutoFillSettings ReadAutoFillSettings(const PreferenceStore& store) {
  AutoFillSettings settings;
  settings.text_max_count = MaxCount(store, pref::kShowSyTextMaxCount);
  settings.image_max_count = MaxCount(store, pref::kShowSyImageMaxCount);
  settings.hide_missing_pictures = ReadPreference(store, pref::kHideNoExistsSyImageRecord) != 0;
  return settings;
}

void WriteAutoFillSettings(PreferenceStore& store, const AutoFillSettings& settings) {
  auto held = [](int count) {
    return count < 0 ? 0 : count > kAutoFillMaxCount ? kAutoFillMaxCount : count;
  };
  WritePreference(store, pref::kShowSyTextMaxCount, held(settings.text_max_count));
  WritePreference(store, pref::kShowSyImageMaxCount, held(settings.image_max_count));
  WritePreference(store, pref::kHideNoExistsSyImageRecord, settings.hide_missing_pictures ? 1 : 0);
}

std::vector<std::string> OfferedTexts(const PreferenceStore& store) {
  std::vector<std::string> entries = Entries(ReadPreference(store, pref::kUsedSyTextRecord));
  const std::size_t count = static_cast<std::size_t>(MaxCount(store, pref::kShowSyTextMaxCount));
  if (entries.size() > count) entries.resize(count);
  return entries;
}

std::vector<std::string> OfferedPictures(const PreferenceStore& store) {
  const std::size_t count = static_cast<std::size_t>(MaxCount(store, pref::kShowSyImageMaxCount));
  const bool hide_missing = ReadPreference(store, pref::kHideNoExistsSyImageRecord) != 0;
  std::vector<std::string> offered;
  for (std::string& entry : Entries(ReadPreference(store, pref::kUsedSyImageRecord))) {
    if (offered.size() >= count) break;
    if (hide_missing && !CanOpenForReading(entry)) continue;
    offered.push_back(std::move(entry));
  }
  return offered;
}

void RememberText(PreferenceStore& store, const std::string& text) {
  Remember(store, pref::kUsedSyTextRecord, pref::kShowSyTextMaxCount, text);
}

void RememberPicture(PreferenceStore& store, const std::string& path) {
  Remember(store, pref::kUsedSyImageRecord, pref::kShowSyImageMaxCount, path);
}

int DeleteMissingPictures(PreferenceStore& store) {
  const std::string history = ReadPreference(store, pref::kUsedSyImageRecord);
  if (history.empty()) return -1;
  std::vector<std::string> kept;
  int dropped = 0;
  for (std::string& entry : Entries(history)) {
    if (CanOpenForReading(entry)) {
      kept.push_back(std::move(entry));
    } else {
      ++dropped;
    }
  }
  WritePreference(store, pref::kUsedSyImageRecord, Joined(kept));
  return dropped;
}

std::string DeleteMissingPicturesText(int dropped) {
  if (dropped <= 0) return "没有找到需要删除的图片记录";
  return std::string("共删除 ").append(std::to_string(dropped)).append(" 条记录");
}

void ClearTextHistory(PreferenceStore& store) {
  WritePreference(store, pref::kUsedSyTextRecord, "");
}

void ClearPictureHistory(PreferenceStore& store) {
  WritePreference(store, pref::kUsedSyImageRecord, "");
}

}  // namespace brindle
