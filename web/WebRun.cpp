// The glue's whole runs and texts: the language, styles, pelto-cli's one
// picture run, and the light factor's digest.
#include "LightDigest.h"
#include "PeltoWeb.h"
#include "WebDocuments.h"
#include "WebTexts.h"
#include "document/DocumentFile.h"
#include "document/StyleRun.h"
#include "platform/CpuCount.h"

#include <cstring>

namespace pelto::web {

namespace {

std::string g_style;

std::string English(const char* context, const char* source) {
    return translation::LookUp(kWebEnglishTexts, context, source);
}

std::string Choice(const char* name, const char* text, const char* zero, const char* one) {
    return std::string(name) + " must be " + zero + " or " + one + ", got '" + text + "'";
}

} // namespace

bool KindOf(const char* format, std::optional<PictureFormat>& kind) {
    if (std::strcmp(format, "bmp") == 0)
        kind = PictureFormat::Bmp;
    else if (std::strcmp(format, "png") == 0)
        kind = PictureFormat::Png;
    else if (*format == '\0')
        kind.reset();
    else
        return Refuse(Choice("format", format, "bmp", "png"));
    return true;
}

} // namespace pelto::web

using namespace pelto;
using namespace pelto::web;

extern "C" {

int pelto_set_lang(const char* lang) {
    if (std::strcmp(lang, "ja") != 0 && std::strcmp(lang, "en") != 0)
        return Refuse(Choice("lang", lang, "ja", "en"));
    translation::Install(std::strcmp(lang, "en") == 0 ? &English : nullptr);
    return 1;
}

int pelto_read_style(const char* text, int size, const char* name) {
    return pelto_apply_style(0, text, size, name);
}

int pelto_apply_style(int doc, const char* text, int size, const char* name) {
    WebDocument* open = doc ? Find(doc) : nullptr;
    if (doc && !open) return 0;
    return Guarded([&] {
        const StyleRead read = ParseStyle(std::string(text, size_t(size)), name);
        if (!read.style) return Refuse(read.error);
        if (open) {
            if (const StyleRunEnd end = ApplyStyle(*open->doc, *read.style, kThreads);
                end.refusal != StyleRefusal::None)
                return Refuse(end.message);
            open->preview.reset();
        }
        g_style = FormatStyle(*read.style);
        return 1;
    });
}

int pelto_saved_background(int doc) {
    const WebDocument* open = Find(doc);
    if (!open) return 0;
    const PickRecord picks = open->doc->SelectionPicks();
    return !picks ? 0 : picks->empty() ? 2 : 1;
}

int pelto_write_style(int doc, int keepBackground, int angle, int contrast, int width, int shape,
                      int outline) {
    const WebDocument* open = doc ? Find(doc) : nullptr;
    if (doc && !open) return 0;
    return Guarded([&] {
        ButtonStyle style;
        style.params = {angle, contrast, width, BevelShape(shape != 0), BevelOutline(outline != 0)};
        if (open && keepBackground) style.background = open->doc->SelectionPicks();
        // Checked as a file of it would be read.
        const std::string text = FormatStyle(style);
        const StyleRead read = ParseStyle(text, "style");
        if (!read.style) return Refuse(read.error);
        g_style = text;
        return 1;
    });
}

const char* pelto_style() {
    return g_style.c_str();
}

int pelto_run(const char* in, const char* out, const char* styleText, int styleSize,
              const char* styleName, const char* format) {
    std::optional<PictureFormat> kind;
    if (!KindOf(format, kind)) return 0;
    return Guarded([&] {
        const StyleRead read = ParseStyle(std::string(styleText, size_t(styleSize)), styleName);
        if (!read.style) return Refuse(read.error);
        const ButtonStyle& style = *read.style;
        // As pelto-cli opens its input: no undo, the whole run's memory checked first.
        CFile input(in, CFile::Mode::Read);
        DocOpenResult opened = OpenDocumentFrom(input, in, BatchRun{style.params, kThreads});
        if (!opened.doc) return Refuse(opened.messages);
        if (const StyleRunEnd end = RunStyle(*opened.doc, style, kThreads);
            end.refusal != StyleRefusal::None)
            return Refuse(end.message);
        CFile output(out, CFile::Mode::CreateWrite);
        const std::string error = SaveDocumentTo(*opened.doc, output, out, kind);
        return error.empty() ? 1 : Refuse(error);
    });
}

const char* pelto_light_digest() {
    return Handed(LightDigest());
}

int pelto_threads() {
    return int(UsableCpuCount());
}

} // extern "C"
