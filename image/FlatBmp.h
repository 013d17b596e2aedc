#pragma once
// A picture with transparency written as a BMP, which has none: the file
// block as it stands, each pixel laid over white at its opacity, as the
// windows show and print it. Rows go out a batch at a time, so the picture is
// never copied whole. File errors surface as CFileException.

namespace pelto {

class CAlphaPlane;
class CDIB;
class CFile;

// picture has a block; alpha has the picture's size.
void WriteOverWhite(const CDIB& picture, const CAlphaPlane& alpha, CFile& file);

} // namespace pelto
