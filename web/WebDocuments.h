#pragma once
// The glue's shared state: the open documents by handle, the last refusal's
// message and the texts handed to JavaScript (PeltoWeb.h).

#include "document/PeltoDoc.h"
#include "engine/BevelPreview.h"

#include <memory>
#include <string>
#include <vector>

namespace pelto::web {

struct WebDocument {
    std::unique_ptr<CPeltoDoc> doc;
    // The preview's copies, taken when first asked for and dropped when the
    // picture or its selection changes.
    std::unique_ptr<CBevelPreview> preview;
    std::vector<uint8_t> rgba;
};

// The document of a handle, or null with the refusal's message set.
WebDocument* Find(int handle);
int Keep(std::unique_ptr<CPeltoDoc> doc);
void Drop(int handle);

// Every call runs on the threads the build has (UsableCpuCount: one, unless
// it is the threaded engine).
inline constexpr unsigned kThreads = 0;

// Sets pelto_error()'s message; returns 0, what a refused call returns.
int Refuse(const std::string& message);
int Refuse(const std::vector<std::string>& messages);
// Runs work, turning a thrown refusal into its message as pelto-cli does.
template <typename Work> int Guarded(Work&& work);

// A text handed to JavaScript, kept until the next one.
const char* Handed(std::string text);

} // namespace pelto::web

#include "document/DocMessages.h"

#include <new>
#include <stdexcept>

template <typename Work> int pelto::web::Guarded(Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return Refuse(docmsg::Text(docmsg::kOutOfMemory));
    } catch (const std::exception& e) {
        return Refuse(e.what());
    }
}
