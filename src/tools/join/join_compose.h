#pragma once
// Composing a joined picture: the sizing pass, a transparent canvas of the planned size, and every
// picture decoded in turn, brought to the common side (never enlarged), centred across the layout
// and laid after the previous one with the spacing between. At most the canvas and one decoded
// picture are held at a time. The preview and the run both compose through here, so the preview
// shows exactly the picture the run saves.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/magick/magick_wand.h"
#include "tools/common/tool_settings.h"
#include "tools/join/join_sizing.h"

namespace brindle {

// Logged (with the path) for a picture that cannot be decoded; it is left out.
inline constexpr const char* kUndecodablePictureMessage = "无法识别的图片:\r\n%s";

// The default resolution of a canvas whose first picture has none.
inline constexpr double kDefaultJoinResolution = 72;

struct JoinedPicture {
  MagickWandPtr wand;  // null when nothing was composed
  // Pictures that were logged: their size could not be read or they could not be decoded.
  int troubled = 0;
  // ImageMagick's reason when it refused to turn, resize or lay a picture; nothing is composed.
  std::optional<std::string> refusal;
};

// The composition pass over the pictures of a plan made by PlanJoin from the same pictures.
// Nothing is composed when the plan's canvas is empty or larger than a PNG can be (the caller
// refuses that first); a canvas ImageMagick cannot make is refused with its reason. The wand
// holds a picture that may be longer than everyday pictures: keep a LargerMagickSides while
// working on it.
JoinedPicture ComposePlannedJoin(const std::vector<std::filesystem::path>& pictures,
                                 const JoinPlan& plan);

// The sizing pass and the composition pass; nothing is composed from fewer than two pictures.
JoinedPicture composeJoinedPicture(const std::vector<std::filesystem::path>& pictures,
                                   const JoinToolSettings& settings);

// Gives the canvas the resolution of the first decoded picture: pixels per inch as they are;
// undefined units as they are unless both are 0, which gives 72 × 72 pixels per inch; pixels per
// centimetre as pixels per inch (× 2.54, truncated, below 1 gives 72).
void TakeJoinResolution(MagickWand* canvas, MagickWand* picture);

}  // namespace brindle
