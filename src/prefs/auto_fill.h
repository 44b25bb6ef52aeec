#pragma once
// The histories behind the drop-down lists of the watermark text and the watermark picture: the
// most recently used first, "\r"-separated, at most 30 entries, compared ignoring ASCII letter
// case. A run records what it used; the lists offer the first entries, as many as the user chose in
// "自动填充设置".

#include <string>
#include <vector>

#include "prefs/preference_store.h"

namespace brindle {

inline constexpr int kAutoFillHistoryLimit = 30;
inline constexpr int kAutoFillMaxCount = 20;  // the dialog's lists offer 0 to 20

// The dialog's three settings, as read: a count missing or above 20 is 10; hiding is on unless 0
// is stored.
struct AutoFillSettings {
  int text_max_count = 10;
  int image_max_count = 10;
  bool hide_missing_pictures = true;
};
AutoFillSettings ReadAutoFillSettings(const PreferenceStore& store);
// "确定" of the dialog; counts are held to 0..20.
void WriteAutoFillSettings(PreferenceStore& store, const AutoFillSettings& settings);

// The texts the text box's list offers.
std::vector<std::string> OfferedTexts(const PreferenceStore& store);
// The pictures the picture box's list offers; with hiding on, those whose file cannot be opened
// are skipped and do not count.
std::vector<std::string> OfferedPictures(const PreferenceStore& store);

// Puts the entry at the top of its history (nothing when it is empty or the count is 0).
void RememberText(PreferenceStore& store, const std::string& text);
void RememberPicture(PreferenceStore& store, const std::string& path);

// Drops the picture entries whose file cannot be opened for reading; the count dropped, or -1 when
// the history is empty.
int DeleteMissingPictures(PreferenceStore& store);
// "共删除 %d 条记录", or "没有找到需要删除的图片记录" when none was dropped (or the history was
// empty); caption "提示".
std::string DeleteMissingPicturesText(int dropped);

inline constexpr const char* kClearTextHistoryQuestion = "确定清空【文字水印】中使用过的文字记录？";
inline constexpr const char* kClearPictureHistoryQuestion =
    "确定清空【图片水印】中使用过的图片地址记录？";
inline constexpr const char* kHistoryClearedText = "已清空";

void ClearTextHistory(PreferenceStore& store);
void ClearPictureHistory(PreferenceStore& store);

}  // namespace brindle
