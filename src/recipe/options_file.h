#pragma once
// The recipe files: config.dat and ".sz" recipes, name=value lines in GBK. The reader fills only
// the fields whose keys appear (over the presets); the writer writes every key in a fixed order
// with CR LF line ends.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recipe/processing_options.h"

namespace brindle {

inline constexpr std::size_t kMaxOptionKeyBytes = 127;
inline constexpr std::size_t kMaxOptionValueBytes = 1023;

enum class OptionAssignResult { kApplied, kUnknownKey, kNotANumber };

// Sets one field from its stored text (UTF-8) with the reader's rules: the range rules of zoomUnit,
// qualityMode and maxFileSize, texts cut at a character boundary to fit their buffer. A numeric key
// whose value is not a number leaves the field as it was.
OptionAssignResult AssignOption(ProcessingOptions& options, std::string_view key,
                                std::string_view value);

// The stored text of an output format ("JPG", "WEBP", "AVIF") and back (any letter case); the text
// of no format gives none, and the reader then leaves the format as it was.
std::string_view OutputFormatText(OutputFormat format);
std::optional<OutputFormat> OutputFormatFromText(std::string_view text);

// The keys in the order the writer writes them (outputFormat only when it is not JPG).
const std::vector<std::string_view>& OptionKeys();

// The reader's presets, set before a file's lines are applied; other fields are left alone.
void SetReaderPresets(ProcessingOptions& options);

// Reads a recipe file over the record (callers zero-fill it first). false, with the record
// unchanged, when the file cannot be opened.
bool ReadOptionsFile(ProcessingOptions& options, const std::filesystem::path& path);

// Reads config.dat, writing the default recipe there first when it is missing.
bool ReadConfigFile(ProcessingOptions& options, const std::filesystem::path& config_path);

// The recipe file text of a record (GBK, CR LF).
std::string FormatOptionsText(const ProcessingOptions& options);

// The default recipe text (GBK, CR LF): 42 lines, 745 bytes.
std::string DefaultOptionsText();

// Write through a temporary file, so a failed write leaves the old file whole. false on failure.
bool WriteOptionsFile(const ProcessingOptions& options, const std::filesystem::path& path);
bool WriteDefaultOptionsFile(const std::filesystem::path& path);

// What is said when a recipe file cannot be written: "保存图片设置到文件 %s 失败。".
std::string WriteFailureText(const std::filesystem::path& path);

}  // namespace brindle
