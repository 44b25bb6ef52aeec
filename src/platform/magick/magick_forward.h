#pragma once
// MagickWand's picture handle by name only, for headers that pass pictures along without calling
// ImageMagick (the same declaration as wand/magick-wand.h's).

typedef struct _MagickWand MagickWand;
