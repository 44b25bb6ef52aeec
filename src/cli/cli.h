#pragma once
// brindle-cli: every job of the program without a window. Each command is one record of the
// command table: its name, its usage and the function that runs it and returns the exit status.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/process/pixels8.h"
#include "engine/process/process_picture.h"
#include "platform/magick/magick_environment.h"
#include "recipe/options_file.h"
#include "recipe/processing_options.h"

namespace brindle::cli {

enum ExitStatus : int {
  kExitDone = 0,             // the run ended and every picture was done
  kExitSomeFailed = 1,       // at least one picture failed or was skipped
  kExitRefused = 2,          // usage error, invalid setting, validation refusal, missing source
  kExitStopped = 3,          // stopped by a signal
  kExitAborted = 4,          // an error that stops the whole run
  kExitStartupFailed = 255,  // the image library cannot be used
};

using Arguments = std::vector<std::string>;

// What a command's run returns when its arguments do not parse; no exit status: the command's
// usage is then printed on standard error and the exit status is kExitRefused.
inline constexpr int kUsageError = -1;

// A command of brindle-cli: the word that names it, the text "COMMAND --help" prints (and a usage
// error repeats), and its run over the arguments after the command word.
struct Command {
  std::string_view name;
  const char* usage;
  int (*run)(const Arguments& args);
};

extern const Command kRecipeCommand;
extern const Command kBatchCommand;
extern const Command kConvertCommand;
extern const Command kPngCommand;
extern const Command kCropCommand;
extern const Command kJoinCommand;
extern const Command kSliceCommand;
extern const Command kPreviewCommand;
extern const Command kInfoCommand;
extern const Command kClassifyCommand;

// Splits the arguments of a command that takes only files: "--" ends the options, and any other
// argument that starts with "-" (but "-" itself) is an unknown option. false on an unknown option.
bool SplitFileArguments(const Arguments& args, Arguments& files, std::string* unknown_option);

// The N of "--jobs N": a whole number from 1 to the processor count. None, with the reason
// printed, for anything else.
std::optional<int> ParseJobCount(const std::string& text);

// A "KEY=VALUE" argument: a name of letters, digits and "_" before the first "=".
std::optional<std::pair<std::string, std::string>> SplitKeyValue(const std::string& arg);

// Applies one recipe setting given on the command line with the recipe reader's rules. An unknown
// key or a value that is not a number where a number is stored is a usage error: the reason is
// printed and false returned.
bool ApplyRecipeSetting(ProcessingOptions& options, const std::string& key,
                        const std::string& value);

using RecipeSettings = std::vector<std::pair<std::string, std::string>>;

// The main recipe: the file read into a zero-filled record (or the default recipe without a file),
// then the command line's settings with the reader's rules. None, with the reason printed, when the
// file cannot be read or a setting is not taken.
std::optional<ProcessingOptions> LoadRecipe(const std::optional<std::string>& recipe_file,
                                            const RecipeSettings& settings);

// The recipe validated as the desktop program's panel validates it, its watermarks prepared and the
// colour profiles loaded. None, with the refusal printed, when validation refuses it.
std::optional<RunRecipe> PrepareRecipe(ProcessingOptions options);

// A preview file's name ends in ".png", ".jpg" or ".jpeg".
bool IsPreviewFileName(const std::string& name);

// Writes what a preview pane shows: its JPEG bytes as they are, or for a name ending in ".png"
// their pixels as PNG. false with the reason in `error`.
bool WriteShownPicture(const std::string& display_jpeg, const std::filesystem::path& out,
                       std::string& error);

// Writes the pixels a pane shows: as PNG for a name ending in ".png", else as a JPEG of quality 91
// (the crop pane's own). false with the reason in `error`.
bool WriteShownPixels(const Pixels8& pixels, const std::filesystem::path& out, std::string& error);

// Starts ImageMagick with the program's configuration; when it cannot be used, prints why and
// returns null (the command then exits with kExitStartupFailed).
std::unique_ptr<MagickEnvironment> StartImageMagick();

// Prints why a KEY=VALUE setting was not taken (unknown key, not a number); true when applied.
bool ReportSettingResult(OptionAssignResult result, const std::string& key,
                         const std::string& value);

// Prints a refusal or usage text on standard error, one line each.
void PrintError(std::string_view text);

}  // namespace brindle::cli
