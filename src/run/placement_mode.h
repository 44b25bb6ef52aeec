#pragma once
// Where a main batch run puts its pictures: the panel's two save radios, or neither yet.

namespace brindle {

enum class PlacementMode { kNone, kSaveToFolder, kOverwrite };

}  // namespace brindle
