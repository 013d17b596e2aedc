#pragma once
// The bevel's two passes done the plain way, point by point through the
// rasters' own operations: the brute-force searches of the mask, SetHeight,
// GetAverageHeight and CLightnessColor. The fast engine must match it byte
// for byte; the benchmarks time it as the baseline.

#include "engine/ButtonParams.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

// The brute-force search the bevel runs from (x, y): the mask's own scan.
bool ReferenceFind(const CMaskDIB& mask, CPoint start, int radius, bool outer, CPoint& found);

void ReferenceBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights);
void ReferenceShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast);
