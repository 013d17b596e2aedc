#pragma once
// The document's open and save steps, from a path to a document and back.
// Open: a zero-length file gives a document with an empty picture; a refused
// file gives the picture's own message, then kUnexpectedFormat, and no document.
// Save: written to a temporary file beside the target and renamed over it only
// when every byte reached the disk, so a failed save never loses the old file;
// a device or a pipe is written in place.

#include "PeltoDoc.h"

#include <memory>
#include <string>
#include <vector>

struct DocOpenResult {
    std::unique_ptr<CPeltoDoc> doc;    // null when the open failed
    std::vector<std::string> messages; // shown in this order when it failed
};

DocOpenResult OpenDocument(const std::string& path);

// Empty on success, otherwise the message for the user.
std::string SaveDocument(CPeltoDoc& doc, const std::string& path);
