#pragma once
// A number box whose number changes a preview: the preview is made again when Enter is pressed in
// the box, and when the box is left with a text other than the one last previewed.

#include <functional>

class QLineEdit;

namespace brindle {

void RefreshOnEnterOrChange(QLineEdit* box, std::function<void()> refresh);

// The box's present text counts as previewed (after it was set from the stored settings).
void MarkPreviewed(QLineEdit* box);

}  // namespace brindle
