#pragma once
// The crop tool's live preview: the current picture of the preview list darkened, with the kept
// rectangle in full brightness inside a light grey frame, showing what the output will look like
// (JPEG artefacts, white behind transparency, the PNG-8 palette) and a checkerboard where the
// picture is transparent; plus the three status texts and the list the arrow keys step through.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/process/pixels8.h"
#include "platform/magick/magick_wand.h"
#include "run/batch/run_message.h"
#include "run/list/picture_scan.h"
#include "tools/common/tool_preview.h"
#include "tools/crop/crop_geometry.h"
#include "tools/crop/crop_tool.h"

namespace brindle {

// The most pictures the preview takes from a source folder.
inline constexpr std::size_t kMaxCropPreviewPictures = 32;

// The status bar's three parts.
using CropStatusTexts = std::array<std::string, 3>;

// The status bar of an opened window and of an empty preview list: "就绪...", "", "".
CropStatusTexts ReadyStatus();

// The third status part while the sub-folders are searched for preview pictures.
inline constexpr const char* kSearchingSubFoldersStatus = "正在遍历子文件夹...";

// The preview list: in list mode every picture of the list; in folder mode the folder's files the
// mask selects (jpg, png, gif, bmp), in scan order, up to 32, topped up from the sub-folders (in
// their listing order) when they are included.
ScanResult CropPreviewList(const CropJob& job);

struct CropPreview {
  // What the pane shows (8-bit RGB); none when the preview list is empty and the pane is cleared.
  // When no picture of the list can be cropped it is a 1 × 1 white picture.
  std::shared_ptr<const Pixels8> shown;
  CropStatusTexts status;
  int current_index = 0;  // the picture shown
  // "没有找到需要裁剪的图片！" (with the folder in folder mode) when no picture could be cropped,
  // or the PNG-8 failure of the picture shown; caption "预览".
  std::optional<RunMessage> message;
};

// Generates the preview from the picture at current_index: going forward, the first picture from
// there (round the end of the list) that can be cropped; going backward, the first one counting
// down. shown is the status bar before the preview, which a preview that finds nothing leaves as
// it was but for the second part ("生成预览图片...").
CropPreview GenerateCropPreview(const CropJob& job, const std::vector<std::filesystem::path>& list,
                                int current_index, bool forward, const CropStatusTexts& shown);

// Makes crop previews and keeps the last picture it read with its darkened background, so a
// changed setting is shown without reading and darkening the picture again, as long as the file
// is unchanged. Like GenerateCropPreview.
//
// The pane shows the whole picture through one JPEG encoding, which for a large photograph is most
// of a preview's time. Patching the display (the window's way), the maker also keeps what the pane
// shows of the background alone and encodes again only the coding units round the framed part:
// the pixels come out the same as encoding the whole picture.
class CropPreviewMaker {
 public:
  explicit CropPreviewMaker(bool patches_display = true);
  ~CropPreviewMaker();
  CropPreview Generate(const CropJob& job, const std::vector<std::filesystem::path>& list,
                       int current_index, bool forward, const CropStatusTexts& shown);
  // Lets the kept picture go.
  void Forget();

 private:
  struct Kept;
  // The kept picture of path, read and prepared when another (or none) is kept; null when it
  // cannot be read or prepared.
  Kept* Prepare(const std::filesystem::path& path);
  // What the pane shows with the framed part laid over the background at the geometry's place:
  // the whole picture encoded and decoded, or the kept background's display with the part round
  // it patched in. None when ImageMagick refuses a step.
  static std::shared_ptr<const Pixels8> ShowWhole(const Kept& kept, const CropGeometry& geometry,
                                                  MagickWand* framed);
  static std::shared_ptr<const Pixels8> ShowPatched(Kept& kept, const CropGeometry& geometry,
                                                    MagickWand* framed);
  bool patches_display_;
  std::unique_ptr<Kept> kept_;
};

// The link "预览说明" (caption kCropPreviewHelpCaption, information icon).
extern const char* const kCropPreviewHelpText;
inline constexpr const char* kCropPreviewHelpCaption = "关于裁剪预览";

}  // namespace brindle
