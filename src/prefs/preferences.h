#pragma once
// The named values of the main program in the preference store, with their types and defaults, and
// the rules applied to them when the program starts.

#include <cstdint>
#include <string>
#include <string_view>

#include "prefs/preference_store.h"

namespace brindle {

struct NumberPreference {
  std::string_view name;
  std::int32_t fallback;
};

struct TextPreference {
  std::string_view name;
  std::string_view fallback;  // "" for the desktop-folder defaults, resolved by the caller
};

namespace pref {
inline constexpr TextPreference kFileDlgChooseImage{"file_dlg_choose_image", ""};
inline constexpr TextPreference kFileDlgChooseLogo{"file_dlg_choose_logo", ""};
inline constexpr TextPreference kFileDlgChooseFont{"file_dlg_choose_font", ""};
// The stored name really ends with one space.
inline constexpr NumberPreference kSkipCheckLoadPicCount{"skip_check_load_pic_count ", 0};
inline constexpr NumberPreference kIsShowThumbnail{"is_show_thumbnail", 1};
inline constexpr NumberPreference kIsReadFileParseFileFormat{"is_read_file_parse_file_format", 1};
inline constexpr NumberPreference kIsRecordSaveToPath{"is_record_save_to_path", 0};
inline constexpr TextPreference kSaveToPath{"save_to_path", ""};
inline constexpr NumberPreference kUseThreadModel{"use_thread_model", 2};
inline constexpr TextPreference kCmykDefaultIcc{"cmyk_default_icc", "JapanColor2001Coated.icc"};
inline constexpr NumberPreference kPicSaveMode{"pic_save_mode", 0};
inline constexpr NumberPreference kPicSaveDefaultSelectOverwrite{
    "pic_save_default_select_overwrite", 0};
inline constexpr NumberPreference kPicSaveSelectOverwriteNoAlert{
    "pic_save_select_overwrite_no_alert", 0};
inline constexpr NumberPreference kShowPreviewTipTimes{"show_preview_tip_times", 0};
inline constexpr NumberPreference kProxyType{"proxy_type", 0};
inline constexpr TextPreference kProxyIp{"proxy_ip", ""};
inline constexpr NumberPreference kProxyPort{"proxy_port", 0};
inline constexpr TextPreference kUsedSyTextRecord{"used_sy_text_record", ""};
inline constexpr TextPreference kUsedSyImageRecord{"used_sy_image_record", ""};
inline constexpr NumberPreference kShowSyTextMaxCount{"show_sy_text_max_count", 10};
inline constexpr NumberPreference kShowSyImageMaxCount{"show_sy_image_max_count", 10};
inline constexpr NumberPreference kHideNoExistsSyImageRecord{"hide_no_exists_sy_image_record", 1};
// "处理后保留原图片的修改时间": written pictures get their source's modification time.
inline constexpr NumberPreference kKeepFileTime{"keep_file_time", 0};
}  // namespace pref

// The sub-key of the hand-made font mappings (face name -> font file).
inline constexpr std::string_view kFontsKey = "Fonts";

std::int32_t ReadPreference(const PreferenceStore& store, const NumberPreference& preference);
std::string ReadPreference(const PreferenceStore& store, const TextPreference& preference);
bool WritePreference(const PreferenceStore& store, const NumberPreference& preference,
                     std::int32_t value);
bool WritePreference(const PreferenceStore& store, const TextPreference& preference,
                     std::string_view value);

// The preferences read at start-up, after their start-up rules.
struct StartupPreferences {
  std::int32_t skip_check_load_pic_count = 0;
  std::int32_t is_show_thumbnail = 1;
  std::int32_t is_read_file_parse_file_format = 1;
  std::int32_t is_record_save_to_path = 0;
  std::int32_t use_thread_model = 2;
  std::string cmyk_default_icc;
  std::int32_t pic_save_mode = 0;
  std::int32_t pic_save_default_select_overwrite = 0;
  std::int32_t pic_save_select_overwrite_no_alert = 0;
  std::int32_t show_preview_tip_times = 0;
  std::int32_t proxy_type = 0;
  std::string save_to_path;  // only when is_record_save_to_path is set
};

// Reads the start-up values in their order and applies their rules, writing back what the rules
// say is written (the skip-check value when missing, the proxy reset of type 2).
StartupPreferences LoadStartupPreferences(const PreferenceStore& store);

// The thread model rule: anything but 1 or 2 is 2.
std::int32_t NormalizeThreadModel(std::int32_t stored);

// The save mode rule: anything but 0, 1 or 2 is 0.
std::int32_t NormalizeSaveMode(std::int32_t stored);

}  // namespace brindle
