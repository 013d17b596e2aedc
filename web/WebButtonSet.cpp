// The glue's button states: a document's set, and the set a style run writes.
#include "PeltoWeb.h"

#include "WebDocuments.h"
#include "WebTexts.h"
#include "document/ButtonSet.h"
#include "document/PictureFormat.h"

namespace pelto::web {

int WriteButtonSet(const CPeltoDoc& doc, const ButtonParams& params, const std::string& out,
                   std::optional<PictureFormat> kind) {
    const std::unique_ptr<CButtonSet> set = MakeButtonSet(doc, params, kThreads);
    // The module's memory file system has nothing to save carefully: each
    // file is written straight, as pelto_save writes its one.
    for (const ButtonSetFile& file : ButtonSetFiles(*set, out, kind.value_or(FormatOfName(out)))) {
        CFile written(file.path, CFile::Mode::CreateWrite);
        file.write(written);
    }
    return 1;
}

} // namespace pelto::web

using namespace pelto;
using namespace pelto::web;

extern "C" {

int pelto_button_set(int doc, const char* values, int size, const char* out, const char* format) {
    const WebDocument* open = Find(doc);
    if (!open) return 0;
    std::optional<PictureFormat> kind;
    if (!KindOf(format, kind)) return 0;
    const std::optional<ButtonStyle> style = StyleText(values, size, kValuesName);
    if (!style) return 0;
    if (!open->doc->HasSelection())
        return Refuse(Refusal::Pick, translation::Translate(kViewContext, kSelectFirst));
    return Guarded([&] { return WriteButtonSet(*open->doc, style->params, out, kind); });
}

} // extern "C"
