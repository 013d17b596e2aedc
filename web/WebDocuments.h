#pragma once
// The glue's shared state: the open documents by handle, the last refusal's
// message and the texts handed to JavaScript (PeltoWeb.h).

#include "document/ButtonStyle.h"
#include "document/DocumentFile.h"
#include "document/PeltoDoc.h"
#include "document/StyleRun.h"
#include "engine/BevelPreview.h"

#include <memory>
#include <string>
#include <vector>

namespace pelto::web {

// The preview's copies, and the parts of the picture it has shaded.
struct WebPreview {
    WebPreview(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha)
        : bevel(picture, mask, alpha) {}
    CBevelPreview bevel;
    CPreviewCanvas canvas;
};

struct WebDocument {
    std::unique_ptr<CPeltoDoc> doc;
    // Taken when first asked for and dropped when the picture or its selection changes.
    std::unique_ptr<WebPreview> preview;
    std::vector<uint8_t> rgba;
};

// The document of a handle, or null with the refusal's message set.
WebDocument* Find(int handle);
int Keep(std::unique_ptr<CPeltoDoc> doc);
void Drop(int handle);

// Every call runs on the threads the build has (UsableCpuCount: one, unless
// it is the threaded engine).
inline constexpr unsigned kThreads = 0;

// What a refusal is about (pelto_error_code), as the module names it.
enum class Refusal { File = 1, Style = 2, Pick = 3, Memory = 4, State = 5 };
// A style run's refusal, by what it refused.
Refusal RefusalOf(StyleRefusal refusal);

// Sets pelto_error()'s message and code; returns 0, what a refused call returns.
int Refuse(Refusal kind, const std::string& message);
// An open's refusal: its messages, about the file or the memory.
int Refuse(const DocOpenResult& opened);
// Runs work, turning a thrown refusal into its message as pelto-cli does.
template <typename Work> int Guarded(Work&& work);

// A style file's text of size bytes (NUL bytes included), read as pelto-cli
// reads one; none, with the refusal set, otherwise. name stands for it in
// messages: a file's name, or kValuesName for a button's values alone.
std::optional<ButtonStyle> StyleText(const char* text, int size, const char* name);
inline constexpr const char* kValuesName = "values";

// The button states' files of params made on doc, beside out, as pelto-cli
// --states writes them: of kind, or of out's kind when none. May throw.
int WriteButtonSet(const CPeltoDoc& doc, const ButtonParams& params, const std::string& out,
                   std::optional<PictureFormat> kind);

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
        return Refuse(Refusal::Memory, docmsg::Text(docmsg::kOutOfMemory));
    } catch (const std::exception& e) {
        return Refuse(Refusal::File, e.what());
    }
}
