// The glue's whole runs and texts: the language, styles, pelto-cli's one
// picture run, and the light factor's digest.
#include "LightDigest.h"
#include "PeltoWeb.h"
#include "WebDocuments.h"
#include "WebTexts.h"
#include "document/DocumentFile.h"
#include "document/StyleRun.h"
#include "system/CpuCount.h"

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
        return Refuse(Refusal::Style, Choice("format", format, "bmp", "png"));
    return true;
}

} // namespace pelto::web

using namespace pelto;
using namespace pelto::web;

extern "C" {

int pelto_set_lang(const char* lang) {
    if (std::strcmp(lang, "ja") != 0 && std::strcmp(lang, "en") != 0)
        return Refuse(Refusal::Style, Choice("lang", lang, "ja", "en"));
    translation::Install(std::strcmp(lang, "en") == 0 ? &English : nullptr);
    return 1;
}

int pelto_read_style(const char* name, const char* text, int size) {
    return pelto_apply_style(0, name, text, size);
}

int pelto_apply_style(int doc, const char* name, const char* text, int size) {
    WebDocument* open = doc ? Find(doc) : nullptr;
    if (doc && !open) return 0;
    return Guarded([&] {
        const std::optional<ButtonStyle> style = StyleText(text, size, name);
        if (!style) return 0;
        if (open) {
            if (const StyleRunEnd end = ApplyStyle(*open->doc, *style, kThreads);
                end.refusal != StyleRefusal::None)
                return Refuse(RefusalOf(end.refusal), end.message);
            open->preview.reset();
        }
        g_style = FormatStyle(*style);
        return 1;
    });
}

int pelto_write_style(int doc, int keepBackground, const char* text, int size) {
    const WebDocument* open = doc ? Find(doc) : nullptr;
    if (doc && !open) return 0;
    return Guarded([&] {
        std::optional<ButtonStyle> style = StyleText(text, size, kValuesName);
        if (!style) return 0;
        if (open && keepBackground) style->background = open->doc->SelectionPicks();
        g_style = FormatStyle(*style);
        return 1;
    });
}

const char* pelto_style() {
    return g_style.c_str();
}

int pelto_run(const char* in, const char* out, const char* styleName, const char* format,
              const char* styleText, int styleSize) {
    std::optional<PictureFormat> kind;
    if (!KindOf(format, kind)) return 0;
    return Guarded([&] {
        const std::optional<ButtonStyle> read = StyleText(styleText, styleSize, styleName);
        if (!read) return 0;
        const ButtonStyle& style = *read;
        // As pelto-cli opens its input: no undo, the whole run's memory checked first.
        CFile input(in, CFile::Mode::Read);
        DocOpenResult opened = OpenDocumentFrom(
            input, in, RunWithoutUndo{style.params, kThreads, style.cutOut, style.states});
        if (!opened.doc) return Refuse(opened);
        if (const StyleRunEnd end = PrepareStyle(*opened.doc, style, kThreads);
            end.refusal != StyleRefusal::None)
            return Refuse(RefusalOf(end.refusal), end.message);
        if (style.states) return WriteButtonSet(*opened.doc, style.params, out, kind);
        opened.doc->MakeButton(style.params, kThreads);
        CFile output(out, CFile::Mode::CreateWrite);
        const std::string error = SaveDocumentTo(*opened.doc, output, out, kind);
        return error.empty() ? 1 : Refuse(Refusal::File, error);
    });
}

const char* pelto_light_digest() {
    return Handed(LightDigest());
}

int pelto_threads() {
    return int(UsableCpuCount());
}

} // extern "C"
