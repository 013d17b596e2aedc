#include "WideBevel.h"
#include "support/FaultControl.h"

#include "RamDisk.h"
#include "document/DocumentFile.h"
#include "engine/Bevel.h"
#include "engine/NearestSearch.h"
#include "image/Block.h"
#include "platform/BmpLayout.h"
#include "support/BmpBuilder.h"
#include "system/File.h"
#include "tests/engine/ReferenceBevel.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace pelto {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kBudget = uint64_t(1) << 15;
constexpr size_t kParameterBytes = 14;

struct Case {
    int width, height;
    ButtonParams params;
    int maskKind;
    unsigned threads;
    int segmentColumns;
    int failingAllocation; // -1: none
    int faultError;        // 0: none
    uint64_t faultBytes;
    bool linked; // the saved-over file has a second hard link
    const uint8_t* fill;
    size_t fillSize;
};

int BandWidth(uint8_t b) {
    if (b < 240) return b % (kWidthRange.high + 1);
    if (b < 252) return 31 + (b - 240) * 20;           // beyond the dialogs' range
    return CNearestSearch::kMaxFastRadius + (b - 252); // the brute force's own path
}

Case ReadCase(const uint8_t* data, size_t size) {
    uint8_t p[kParameterBytes] = {};
    std::memcpy(p, data, std::min(size, kParameterBytes));
    Case c{};
    c.width = 1 + (p[0] | p[1] << 8) % 4096;
    c.height = 1 + p[2] % 64;
    c.params.width = BandWidth(p[3]);
    c.params.outline = BevelOutline(p[4] & 1);
    c.params.shape = BevelShape((p[4] >> 1) & 1);
    c.maskKind = (p[4] >> 2) & 7;
    c.threads = 1 + ((p[4] >> 5) & 3);
    c.params.angle = (p[5] | p[6] << 8) % (kAngleRange.high + 1);
    c.params.contrast = (p[7] | p[8] << 8) % (kContrastRange.high + 1);
    c.segmentColumns = p[9] == 255 ? CNearestSearch::kSegmentColumns : 1 + p[9];
    c.failingAllocation = p[10] < 128 ? -1 : p[10] % 2; // the snapshot or the heights
    static constexpr int kErrors[] = {0, ENOSPC, EIO, EDQUOT};
    c.faultError = kErrors[p[11] % 4];
    c.faultBytes = uint64_t(p[12]) * (p[11] >> 2);
    c.linked = p[13] & 1;
    c.fill = data + std::min(size, kParameterBytes);
    c.fillSize = size - std::min(size, kParameterBytes);
    // Keep one run quick: the brute force reads (2 radius + 1)^2 mask points per pixel.
    const uint64_t window = uint64_t(2 * c.params.width + 1) * uint64_t(2 * c.params.width + 1);
    while (uint64_t(c.width) * uint64_t(c.height) * window > kBudget && c.height > 1)
        c.height = (c.height + 1) / 2;
    while (uint64_t(c.width) * uint64_t(c.height) * window > kBudget && c.width > 1)
        c.width = (c.width + 1) / 2;
    return c;
}

uint8_t FillByte(const Case& c, uint64_t i) {
    return c.fillSize ? c.fill[i % c.fillSize] : 0;
}

// Each kind makes another texture out of the same bytes.
uint8_t MaskValue(const Case& c, int x, int y) {
    const uint64_t i = uint64_t(y) * uint64_t(c.width) + uint64_t(x);
    const uint8_t checker = uint8_t((x / 4 + y / 4) % 2 + 1);
    switch (c.maskKind) {
    case 0:
        return FillByte(c, i); // any byte at all
    case 1:
        return (FillByte(c, i / 8) >> (i % 8)) & 1 ? checker : 0;
    case 2:
        return FillByte(c, i) < 8 ? 0 : checker; // a few shape pixels
    case 3:
        return FillByte(c, i) < 8 ? checker : 0; // a few background pixels
    case 4:
        return FillByte(c, uint64_t(x) / 16) & 1 ? checker : 0; // columns
    case 5:
        return (FillByte(c, uint64_t(y)) ^ FillByte(c, uint64_t(x) / 64)) & 1 ? checker : 0;
    case 6:
        return x % 97 < FillByte(c, uint64_t(y)) % 97 ? checker : 0; // edges along rows
    default:
        return 0;
    }
}

std::vector<uint8_t> PictureFile(const Case& c) {
    const uint64_t stride = CDIB::Stride24(c.width);
    const uint64_t imageSize = stride * uint64_t(c.height);
    std::vector<uint8_t> file(bmp::kHeadersSize + imageSize, 0);
    bmp::WriteBuiltHeaders(file.data(), uint32_t(file.size()), bmp::kHeadersSize, c.width, c.height,
                           24, uint32_t(imageSize));
    for (uint64_t i = 0; i < imageSize; ++i)
        file[bmp::kHeadersSize + i] = uint8_t(FillByte(c, i * 7 + 3) * 131 + i);
    return file;
}

// The document's button with one allocation failing leaves it as it was;
// then it matches the plain bevel.
std::string CheckDocument(CPeltoDoc& doc, const CMaskDIB& mask, const Case& c,
                          const std::vector<uint8_t>& expected) {
    const std::vector<uint8_t> before = BlockBytes(doc.Picture());
    const auto select = [&] {
        auto selection = std::make_unique<CMaskDIB>(mask.m_nWidth, mask.m_nHeight);
        std::memcpy(selection->m_pFileImage.get(), mask.m_pFileImage.get(), mask.m_nFileSize);
        doc.SetSelection(std::move(selection));
    };
    if (c.failingAllocation >= 0) {
        select();
        faults::FailAllocationAfter(c.failingAllocation);
        bool failed = false;
        try {
            doc.MakeButton(c.params, c.threads);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        faults::FailAllocationAfter(-1);
        if (!failed) return "a button whose allocation failed went through";
        if (BlockBytes(doc.Picture()) != before || !doc.HasSelection() || doc.CanUndo())
            return "a button that ran out of memory changed the document";
    }
    select();
    doc.MakeButton(c.params, c.threads);
    if (BlockBytes(doc.Picture()) != expected)
        return "the document's button is not the plain bevel";
    if (!doc.CanUndo() || BlockBytes(doc.History().UndoStep()->Picture()) != before)
        return "the snapshot is not the picture";
    return {};
}

// A save onto an old file, with the disk failing where the bytes say: either
// the new picture is there, or the old file is untouched (or kept aside, as
// the message says), and no temporary file is left.
std::string CheckSave(CPeltoDoc& doc, const Case& c, const std::vector<uint8_t>& old) {
    static const TempDir folder(RamDisk());
    const std::string target = folder.File("old.bmp"), link = folder.File("link.bmp");
    folder.Clear();
    WriteFileBytes(target, old);
    if (c.linked) fs::create_hard_link(target, link);
    faults::FailWritesAfter(c.faultError, c.faultBytes);
    const std::string message = SaveDocument(doc, target);
    faults::FailWritesAfter(0);

    const std::vector<uint8_t> now = ReadFileBytes(target);
    size_t expectedFiles = c.linked ? 2 : 1;
    if (message.empty()) {
        if (now != BlockBytes(doc.Picture())) return "a save that succeeded wrote other bytes";
    } else if (message.find("元のファイルは変更されていません。") != std::string::npos) {
        if (now != old) return "a failed save changed the old file";
    } else {
        const std::string kept = "元の内容は ";
        const size_t at = message.find(kept);
        const size_t end = at == std::string::npos ? at : message.find(' ', at + kept.size());
        if (end == std::string::npos) return "a failed save lost the old file: " + message;
        if (ReadFileBytes(message.substr(at + kept.size(), end - at - kept.size())) != old)
            return "the old content kept aside is not the old file";
        ++expectedFiles;
    }
    if (c.linked && ReadFileBytes(link) != now) return "the save cut the file's hard link";
    if (FolderListing(folder.Path()).size() != expectedFiles)
        return "a save left a temporary file behind";
    return {};
}

} // namespace

std::string RunWideBevel(const uint8_t* data, size_t size) {
    const Case c = ReadCase(data, size);
    CMaskDIB mask(c.width, c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            mask.SetValue(CPoint(x, y), MaskValue(c, x, y));
    CHeightDIB expectedHeights(c.width, c.height), heights(c.width, c.height);
    if (std::string broken = FoundPointsDiffer(mask, c.params, c.segmentColumns, expectedHeights);
        !broken.empty())
        return broken;
    ComputeBevelHeights(mask, c.params, heights, c.threads);
    if (BlockBytes(heights) != BlockBytes(expectedHeights))
        return "the heights are not the plain bevel's";

    const std::vector<uint8_t> file = PictureFile(c);
    CDIB plain, fast;
    plain.LoadFromBytes(file.data(), file.size());
    fast.LoadFromBytes(file.data(), file.size());
    ReferenceShadeBevel(plain, expectedHeights, c.params.contrast);
    ShadeBevel(fast, heights, c.params.contrast, c.threads);
    if (BlockBytes(fast) != BlockBytes(plain)) return "the shaded picture is not the plain bevel's";

    CPeltoDoc doc;
    doc.LoadBmp(file.data(), file.size());
    if (std::string broken = CheckDocument(doc, mask, c, BlockBytes(plain)); !broken.empty())
        return broken;
    return CheckSave(doc, c, file);
}

} // namespace pelto
