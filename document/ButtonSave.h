#pragma once
// A button made and saved in one go, as pelto-cli makes one. A BMP's rows go
// to the file as the bevel finishes them, and the system starts putting them
// on the device at once, so the writing runs under the shading instead of
// after it. The file ends exactly as SaveDocument writes it, with the same
// guarantees (system/FileSave.h): memory running out leaves the old file as
// it was and throws std::bad_alloc, as MakeButton does.

#include "DocumentFile.h"

namespace pelto {

// Empty on success, otherwise the save's message, as SaveDocument gives it.
std::string MakeButtonAndSave(CPeltoDoc& doc, const ButtonParams& params, unsigned threads,
                              const std::string& path,
                              std::optional<PictureFormat> format = std::nullopt,
                              const ShowPath& show = {});

} // namespace pelto
