#pragma once
// The bevel's two passes done the plain way, point by point through the
// rasters' own operations: the brute-force searches of the mask, SetHeight,
// GetAverageHeight and CLightnessColor. The fast engine must match it byte
// for byte; the benchmarks time it as the baseline.

#include "engine/ButtonParams.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

#include <functional>
#include <string>

namespace pelto {

// The brute-force search the bevel runs from (x, y): the mask's own scan.
bool ReferenceFind(const CMaskDIB& mask, CPoint start, int radius, bool outer, CPoint& found);

// found, when given, hears of every pixel whose search succeeds and the point found, row by row.
void ReferenceBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights,
                           const std::function<void(CPoint pixel, CPoint found)>& found = {});
void ReferenceShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast);

// Every pixel's found point, searched in segments of segmentColumns as the
// bevel searches, against the brute force, whose heights go to heights:
// empty when they agree, else the first difference.
std::string FoundPointsDiffer(const CMaskDIB& mask, const ButtonParams& params, int segmentColumns,
                              CHeightDIB& heights);

} // namespace pelto
