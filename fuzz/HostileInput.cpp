#include "HostileInput.h"

#include "RamDisk.h"

#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "engine/BackgroundPick.h"
#include "image/PngFile.h"
#include "platform/ArchiveException.h"
#include "platform/BmpLayout.h"
#include "platform/Dc.h"

#include <cstring>
#include <fstream>
#include <optional>

namespace pelto {

namespace {

struct Knobs {
    ButtonParams params;
    int pickX;
    int pickYFromTop;
    int tolerance;
    bool connected;
    CPoint drawOrigin;
};

// The pick, the parameters and where to look when drawing, from the file's last bytes.
Knobs ReadKnobs(const uint8_t* data, size_t size, int width, int height) {
    auto tail = [&](size_t i) -> int { return i < size ? data[size - 1 - i] : 0; };
    Knobs k;
    k.params.angle = (tail(0) | tail(1) << 8) % (kAngleRange.high + 1);
    k.params.contrast = (tail(2) | tail(3) << 8) % (kContrastRange.high + 1);
    k.params.width = tail(4) % (kWidthRange.high + 1);
    k.params.shape = BevelShape(tail(5) & 1);
    k.params.outline = BevelOutline((tail(5) >> 1) & 1);
    k.connected = (tail(5) >> 2) & 1;
    k.tolerance = tail(6) % (kToleranceRange.high + 1);
    k.pickX = tail(7) % width;
    k.pickYFromTop = tail(8) % height;
    k.drawOrigin = CPoint(-(tail(9) % width), -(tail(10) % height));
    // Keep one run quick: the search reads (2 width + 1)^2 mask points per pixel.
    const uint64_t area = uint64_t(width) * uint64_t(height);
    auto cost = [&](int w) { return area * uint64_t(2 * w + 1) * uint64_t(2 * w + 1); };
    while (k.params.width > 0 && cost(k.params.width) > (uint64_t(1) << 22))
        --k.params.width;
    return k;
}

bool IsLoadMessage(const char* text) {
    for (const char* message :
         {CDIB::kMsgWrongFormat, CDIB::kMsgNotFullColour, CDIB::kMsgUnsupported})
        if (std::strcmp(text, message) == 0) return true;
    return false;
}

bool HoldsBytes(const CDIB& dib, const uint8_t* data, size_t size) {
    return dib.HasBlock() && dib.m_nFileSize == size &&
           std::memcmp(dib.m_pFileImage.get(), data, size) == 0;
}

// Every byte but the pixels' own (headers, gap, row padding, trailing bytes) is as in the file.
bool OnlyPixelsDiffer(const CDIB& dib, const uint8_t* data, size_t size) {
    if (dib.m_nFileSize != size) return false;
    const uint64_t offBits = bmp::ReadU32(data, bmp::bfOffBits);
    const uint64_t stride = CDIB::Stride24(dib.m_nWidth);
    const uint64_t pixelEnd = offBits + stride * uint64_t(dib.m_nHeight);
    const uint8_t* block = dib.m_pFileImage.get();
    for (uint64_t i = 0; i < size; ++i) {
        const bool pixel =
            i >= offBits && i < pixelEnd && (i - offBits) % stride < 3 * uint64_t(dib.m_nWidth);
        if (!pixel && block[i] != data[i]) return false;
    }
    return true;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

std::string CheckAcceptedPicture(CPeltoDoc& doc, const uint8_t* data, size_t size,
                                 const TempDir& folder) {
    const CDIB& dib = doc.Picture();
    const int width = dib.m_nWidth;
    const int height = dib.m_nHeight;
    if (width <= 0 || height <= 0) return "accepted a picture without pixels";
    const uint64_t offBits = bmp::ReadU32(data, bmp::bfOffBits);
    if (offBits + CDIB::Stride24(width) * uint64_t(height) > size)
        return "accepted pixels past the end";

    const Knobs k = ReadKnobs(data, size, width, height);
    CDC dc(16, 16);
    dc.SetViewportOrg(k.drawOrigin);
    dib.Draw(&dc);

    doc.SelectBackground({k.pickX, k.pickYFromTop, k.tolerance, k.connected});
    if (!doc.HasSelection()) return "a pick inside the picture selected nothing";
    if (doc.Selection()->m_nWidth != width || doc.Selection()->m_nHeight != height)
        return "mask of another size";
    doc.Selection()->DrawOverlay(&dc);

    doc.MakeButton(k.params);
    if (doc.HasSelection() || !doc.CanUndo()) return "MakeButton kept the mask or made no snapshot";
    if (!HoldsBytes(doc.History().UndoStep()->Picture(), data, size))
        return "the snapshot is not the picture as it was";
    if (dib.m_nWidth != width || dib.m_nHeight != height) return "MakeButton changed the size";
    if (!OnlyPixelsDiffer(dib, data, size)) return "MakeButton changed bytes outside the pixels";

    const std::string saved = folder.File("saved.bmp");
    if (const std::string error = SaveDocument(doc, saved); !error.empty())
        return "save failed: " + error;
    const DocOpenResult reopened = OpenDocument(saved);
    if (!reopened.doc) return "the saved picture does not open again";
    if (!HoldsBytes(reopened.doc->Picture(), dib.m_pFileImage.get(), dib.m_nFileSize))
        return "the saved file is not the picture";

    doc.Undo();
    if (doc.CanUndo() || !HoldsBytes(dib, data, size)) return "Undo did not restore the picture";
    return {};
}

} // namespace

std::string RunHostileInput(const uint8_t* data, size_t size) {
    static const TempDir folder(RamDisk());

    CPeltoDoc doc;
    std::optional<std::string> refusal;
    try {
        doc.LoadBmp(data, size);
    } catch (const CArchiveException& e) {
        if (e.GetCause() != CArchiveException::badIndex) return "refused with another cause";
        if (!IsLoadMessage(e.what()))
            return std::string("refused with an unknown message: ") + e.what();
        if (doc.Picture().HasBlock()) return "a refused file left a block";
        refusal = e.what();
    }
    if (!refusal && !HoldsBytes(doc.Picture(), data, size)) return "the block is not the file";

    // The same bytes from disk, the way the program opens files.
    const std::string input = folder.File("input.bmp");
    WriteFile(input, data, size);
    const DocOpenResult opened = OpenDocument(input);
    if (size == 0)
        return opened.doc && !opened.doc->Picture().HasBlock()
                   ? ""
                   : "a zero-length file did not open empty";
    if (refusal) {
        // A PNG is no BMP, and opens from disk: the PNG target checks it.
        if (png::HasSignature(data, size)) return {};
        if (opened.doc) return "opened from disk what was refused from memory";
        if (opened.messages != std::vector<std::string>{*refusal, docmsg::kUnexpectedFormat})
            return "the open gave other messages than the load";
        return {};
    }
    if (!opened.doc || !HoldsBytes(opened.doc->Picture(), data, size))
        return "disk and memory loads disagree";
    return CheckAcceptedPicture(doc, data, size, folder);
}

} // namespace pelto
