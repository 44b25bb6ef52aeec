#pragma once
// ImageMagick's pixel buffers are large and short-lived: every picture read, crop or border gets a
// fresh one, and the system maps each fresh page in on its first write. A preview made again and
// again from a large photograph (the crop pane's, at every change of a box) spends most of its time
// there. The pool keeps a few freed large buffers and hands them out again for requests of about
// their size, so the next preview writes into pages the process already has. The desktop program
// uses it; the batch of brindle-cli does not, where it would only raise the peak memory.

namespace brindle {

// Makes ImageMagick take its aligned buffers (the pixel caches) through the pool. Call it before
// ImageMagick is started; it stays in force for the life of the process.
void UsePixelMemoryPool();

// Frees the buffers the pool keeps for reuse (when a preview closes); those in use are not
// affected.
void ReleasePixelMemoryPool();

}  // namespace brindle
