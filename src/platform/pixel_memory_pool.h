#pragma once
// ImageMagick's pixel buffers are large and short-lived: every picture read and every resize gets a
// fresh one, and the system maps each fresh page in on its first write, which costs about a third
// of a batch's time. The pool keeps a few freed large buffers and hands them out again for requests
// of about their size, so a run of similar pictures writes into pages it already has.

namespace brindle {

// Makes ImageMagick take its aligned buffers (the pixel caches) through the pool. Call it before
// MagickWandGenesis; it stays in force for the life of the process.
void UsePixelMemoryPool();

// Frees the buffers the pool keeps for reuse; those in use are not affected.
void ReleasePixelMemoryPool();

}  // namespace brindle
