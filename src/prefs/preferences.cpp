#include "prefs/preferences.h"

namespace brindle {

std::int32_t ReadPreference(const PreferenceStore& store, const NumberPreference& preference) {
  return store.NumberOr(preference.name, preference.fallback);
}

std::string ReadPreference(const PreferenceStore& store, const TextPreference& preference) {
  return store.TextOr(preference.name, preference.fallback);
}

bool WritePreference(const PreferenceStore& store, const NumberPreference& preference,
                     std::int32_t value) {
  return store.WriteNumber("", preference.name, static_cast<std::uint32_t>(value));
}

bool WritePreference(const PreferenceStore& store, const TextPreference& preference,
                     std::string_view value) {
  return store.WriteText("", preference.name, value);
}

std::int32_t NormalizeThreadModel(std::int32_t stored) {
  return (stored == 1 || stored == 2) ? stored : 2;
}

std::int32_t NormalizeSaveMode(std::int32_t stored) {
  return (stored < 0 || stored >= 3) ? 0 : stored;
}

StartupPreferences LoadStartupPreferences(const PreferenceStore& store) {
  StartupPreferences p;
  std::uint32_t number = 0;

  if (store.ReadNumber("", pref::kSkipCheckLoadPicCount.name, number)) {
    p.skip_check_load_pic_count = static_cast<std::int32_t>(number);
  } else {
    WritePreference(store, pref::kSkipCheckLoadPicCount, 0);
  }
  p.is_show_thumbnail = ReadPreference(store, pref::kIsShowThumbnail);
  p.is_read_file_parse_file_format = ReadPreference(store, pref::kIsReadFileParseFileFormat);
  p.is_record_save_to_path = ReadPreference(store, pref::kIsRecordSaveToPath);
  p.use_thread_model = NormalizeThreadModel(ReadPreference(store, pref::kUseThreadModel));
  p.cmyk_default_icc = ReadPreference(store, pref::kCmykDefaultIcc);

  p.pic_save_mode = NormalizeSaveMode(ReadPreference(store, pref::kPicSaveMode));
  p.pic_save_default_select_overwrite =
      ReadPreference(store, pref::kPicSaveDefaultSelectOverwrite) == 1 ? 1 : 0;
  p.pic_save_select_overwrite_no_alert =
      ReadPreference(store, pref::kPicSaveSelectOverwriteNoAlert) == 1 ? 1 : 0;
  std::int32_t tip_times = ReadPreference(store, pref::kShowPreviewTipTimes);
  p.show_preview_tip_times = tip_times < 0 ? 0 : tip_times;

  p.proxy_type = ReadPreference(store, pref::kProxyType);
  if (p.proxy_type == 2) {
    p.proxy_type = 0;
    WritePreference(store, pref::kProxyType, 0);
    WritePreference(store, pref::kProxyIp, "");
    WritePreference(store, pref::kProxyPort, 0);
  }
  if (p.is_record_save_to_path != 0) p.save_to_path = ReadPreference(store, pref::kSaveToPath);
  return p;
}

}  // namespace brindle
