#pragma once
// Random masks, pictures and button values for tests that compare a fast
// engine path with the plain one.

#include "engine/ButtonParams.h"
#include "image/Dib.h"
#include "image/MaskDib.h"

#include <memory>
#include <random>

namespace pelto {

enum class MaskKind { Blobs, Noise, Lines, EdgeShapes, Everything, Nothing, AnyByte, kCount };

const char* KindName(MaskKind kind);

// A mask of the given kind with the background selection's values (0, 1, 2),
// or any byte at all for AnyByte.
std::unique_ptr<CMaskDIB> RandomMask(MaskKind kind, int width, int height, std::mt19937& rng);

std::unique_ptr<CDIB> RandomPicture(int width, int height, std::mt19937& rng);

// Random angle, contrast and profile for the given width and outline.
ButtonParams RandomParams(int width, bool outer, std::mt19937& rng);

} // namespace pelto
