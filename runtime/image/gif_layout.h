// The block layout of a GIF file, read without decoding any pixels: enough to tell a tile that
// the decoders will take from one they will refuse, at a small part of the cost of decoding it.
#pragma once

#include "runtime/core.h"

namespace kesto::image {

// True for a file that starts with a GIF signature.
bool IsGif(const Bytes& file);

// True when the logical screen the header states is at least one pixel and no larger than the
// largest picture we hold: the decoder allocates the whole screen before it reads a frame.
bool GifScreenFits(const Bytes& file);

// True when the GIF is laid out whole: a believable logical screen, a colour table for every
// frame, sane compression sizes, every block complete, at least one frame and the closing
// trailer. The decoders refuse a GIF that fails this (a truncated tile above all).
bool GifLayoutIsWhole(const Bytes& file);

}  // namespace kesto::image
