// The glue's documents: open, draw, pick, preview, button, undo, save.
#include "PeltoWeb.h"

#include "WebDocuments.h"
#include "WebTexts.h"
#include "document/ButtonStyle.h"
#include "document/DocumentFile.h"
#include "document/StyleRun.h"
#include "platform/Dc.h"

#include <map>

namespace pelto::web {

namespace {

std::map<int, WebDocument> g_documents;
int g_nLastHandle = 0;
std::string g_error;
Refusal g_errorKind = Refusal::State;
std::string g_handed;

// What the desktop view draws at 100 %: the picture, the selection's overlay
// on top; as RGBA bytes, top row first. A pixel the overlay leaves keeps its
// opacity, for the page to lay over its checkerboard.
void Draw(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection,
          std::vector<uint8_t>& rgba) {
    rgba.clear();
    if (!picture.HasBlock()) return;
    const int width = picture.m_nWidth, height = picture.m_nHeight;
    CDC dc(width, height);
    picture.Draw(&dc);
    if (selection) selection->DrawOverlay(&dc);
    rgba.resize(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = dc.Bits() + size_t(y) * size_t(width);
        // Mask and opacity rows run bottom up, as the picture's.
        const int stored = height - 1 - y;
        const uint8_t* opacity = alpha && alpha->HasBlock() ? alpha->Row(stored) : nullptr;
        uint8_t* out = rgba.data() + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x, out += 4) {
            const bool overlaid = selection && selection->GetValue(CPoint(x, stored)) != 0;
            out[0] = uint8_t(row[x] >> 16), out[1] = uint8_t(row[x] >> 8), out[2] = uint8_t(row[x]);
            out[3] = opacity && !overlaid ? opacity[x] : 255;
        }
    }
}

// The part of a preview at x, y (from the top left), as Draw draws it there.
void DrawArea(const CPreviewCanvas& canvas, int x, int y, int width, int height,
              std::vector<uint8_t>& rgba) {
    rgba.resize(size_t(width) * size_t(height) * 4);
    const int rows = canvas.picture.m_nHeight;
    for (int line = 0; line < height; ++line) {
        const int stored = rows - 1 - (y + line);
        const uint8_t* pixel = canvas.picture.Row(stored) + 3 * size_t(x);
        const uint8_t* opacity = canvas.alpha.HasBlock() ? canvas.alpha.Row(stored) + x : nullptr;
        uint8_t* out = rgba.data() + size_t(line) * size_t(width) * 4;
        for (int i = 0; i < width; ++i, pixel += 3, out += 4) {
            out[0] = pixel[2], out[1] = pixel[1], out[2] = pixel[0];
            out[3] = opacity ? opacity[i] : 255;
        }
    }
}

// The preview of doc's selection at values, made when first asked for; null
// with the refusal set.
WebPreview* PreviewOf(WebDocument& open, const char* values, int size, ButtonParams& params) {
    const std::optional<ButtonStyle> style = StyleText(values, size, kValuesName);
    if (!style) return nullptr;
    CPeltoDoc& d = *open.doc;
    if (!d.HasSelection()) {
        Refuse(Refusal::Pick, translation::Translate(kViewContext, kSelectFirst));
        return nullptr;
    }
    params = style->params;
    const int made = Guarded([&] {
        if (!open.preview)
            open.preview = std::make_unique<WebPreview>(d.Picture(), *d.Selection(), d.Opacity());
        return 1;
    });
    return made ? open.preview.get() : nullptr;
}

} // namespace

WebDocument* Find(int handle) {
    const auto found = g_documents.find(handle);
    if (found != g_documents.end()) return &found->second;
    Refuse(Refusal::State, "no open document " + std::to_string(handle));
    return nullptr;
}

int Keep(std::unique_ptr<CPeltoDoc> doc) {
    g_documents[++g_nLastHandle].doc = std::move(doc);
    return g_nLastHandle;
}

void Drop(int handle) {
    g_documents.erase(handle);
}

std::optional<ButtonStyle> StyleText(const char* text, int size, const char* name) {
    StyleRead read = ParseStyle(std::string(text, size_t(size)), name);
    if (!read.style) Refuse(Refusal::Style, read.error);
    return std::move(read.style);
}

int Refuse(Refusal kind, const std::string& message) {
    g_error = message;
    g_errorKind = kind;
    return 0;
}

int Refuse(const DocOpenResult& opened) {
    std::string joined;
    for (const std::string& message : opened.messages)
        joined += (joined.empty() ? "" : "\n") + message;
    return Refuse(opened.outOfMemory ? Refusal::Memory : Refusal::File, joined);
}

Refusal RefusalOf(StyleRefusal refusal) {
    return refusal == StyleRefusal::EmptyPicture ? Refusal::File : Refusal::Pick;
}

const char* Handed(std::string text) {
    g_handed = std::move(text);
    return g_handed.c_str();
}

} // namespace pelto::web

using namespace pelto;
using namespace pelto::web;

extern "C" {

const char* pelto_error() {
    return g_error.c_str();
}

int pelto_error_code() {
    return int(g_errorKind);
}

int pelto_open(const char* path) {
    return Guarded([&] {
        DocOpenResult opened = OpenDocument(path);
        if (!opened.doc) return Refuse(opened);
        // A page has nothing to show or do with it, and says so as pelto-cli does.
        if (!opened.doc->Picture().HasBlock())
            return Refuse(Refusal::File, docmsg::Text(docmsg::kEmptyPicture));
        return Keep(std::move(opened.doc));
    });
}

void pelto_close(int doc) {
    Drop(doc);
}

int pelto_width(int doc) {
    const web::WebDocument* open = Find(doc);
    return open ? open->doc->Picture().m_nWidth : 0;
}

int pelto_height(int doc) {
    const web::WebDocument* open = Find(doc);
    return open ? open->doc->Picture().m_nHeight : 0;
}

const uint8_t* pelto_rgba(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return nullptr;
    if (!Guarded([&] {
            Draw(open->doc->Picture(), open->doc->Opacity(), open->doc->Selection(), open->rgba);
            return 1;
        }))
        return nullptr;
    return open->rgba.data();
}

int pelto_pick(int doc, int x, int y, int tolerance, int connected) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    CPeltoDoc& d = *open->doc;
    const BackgroundPick pick{x, y, tolerance, connected != 0};
    if (std::string outside = PickOutside(pick, d.Picture()); !outside.empty())
        return Refuse(Refusal::Pick, outside);
    if (tolerance < kToleranceRange.low || tolerance > kToleranceRange.high)
        return Refuse(Refusal::Pick,
                      translation::Fill(docmsg::Text(docmsg::kStyleBadValue), "tolerance"));
    return Guarded([&] {
        open->preview.reset();
        d.SelectBackground(pick, kThreads);
        return 1;
    });
}

int pelto_select_transparent(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    return Guarded([&] {
        open->preview.reset();
        open->doc->SelectTransparent();
        return 1;
    });
}

int pelto_clear_selection(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    open->preview.reset();
    open->doc->ClearSelection();
    return 1;
}

int pelto_has_selection(int doc) {
    const web::WebDocument* open = Find(doc);
    return open && open->doc->HasSelection();
}

const uint8_t* pelto_preview(int doc, const char* values, int size) {
    web::WebDocument* open = Find(doc);
    ButtonParams params;
    web::WebPreview* preview = open ? PreviewOf(*open, values, size, params) : nullptr;
    if (!preview) return nullptr;
    const CAlphaPlane* opacity = open->doc->Opacity();
    const int done = Guarded([&] {
        CDIB result;
        CAlphaPlane alpha;
        preview->bevel.Render(params, result, kThreads, opacity ? &alpha : nullptr);
        Draw(result, opacity ? &alpha : nullptr, nullptr, open->rgba);
        return 1;
    });
    return done ? open->rgba.data() : nullptr;
}

const uint8_t* pelto_preview_area(int doc, const char* values, int size, int x, int y, int width,
                                  int height) {
    web::WebDocument* open = Find(doc);
    if (!open) return nullptr;
    const CDIB& picture = open->doc->Picture();
    if (x < 0 || y < 0 || width < 1 || height < 1 || width > picture.m_nWidth - x ||
        height > picture.m_nHeight - y) {
        Refuse(Refusal::State, "the preview's area lies outside the picture");
        return nullptr;
    }
    ButtonParams params;
    web::WebPreview* preview = PreviewOf(*open, values, size, params);
    if (!preview) return nullptr;
    const int done = Guarded([&] {
        // Stored rows run from the bottom.
        const int first = picture.m_nHeight - y - height;
        preview->bevel.RenderArea(params, {x, first, x + width, first + height}, preview->canvas,
                                  kThreads);
        DrawArea(preview->canvas, x, y, width, height, open->rgba);
        return 1;
    });
    return done ? open->rgba.data() : nullptr;
}

int pelto_make_button(int doc, const char* values, int size) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    const std::optional<ButtonStyle> style = StyleText(values, size, kValuesName);
    if (!style) return 0;
    if (!open->doc->HasSelection())
        return Refuse(Refusal::Pick, translation::Translate(kViewContext, kSelectFirst));
    return Guarded([&] {
        open->doc->MakeButton(style->params, kThreads);
        open->preview.reset();
        return 1;
    });
}

int pelto_cut_out(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    if (!open->doc->HasSelection())
        return Refuse(Refusal::Pick, translation::Translate(kViewContext, kSelectFirst));
    return Guarded([&] {
        open->doc->CutOut();
        open->preview.reset();
        return 1;
    });
}

int pelto_undo(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    if (!open->doc->CanUndo()) return Refuse(Refusal::State, "nothing to undo");
    return Guarded([&] {
        open->doc->Undo();
        open->preview.reset();
        return 1;
    });
}

int pelto_can_undo(int doc) {
    const web::WebDocument* open = Find(doc);
    return open && open->doc->CanUndo();
}

int pelto_redo(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    if (!open->doc->CanRedo()) return Refuse(Refusal::State, "nothing to redo");
    open->doc->Redo();
    open->preview.reset();
    return 1;
}

int pelto_can_redo(int doc) {
    const web::WebDocument* open = Find(doc);
    return open && open->doc->CanRedo();
}

int pelto_save(int doc, const char* path, const char* format) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    std::optional<PictureFormat> kind;
    if (!KindOf(format, kind)) return 0;
    return Guarded([&] {
        CFile out(path, CFile::Mode::CreateWrite);
        const std::string error = SaveDocumentTo(*open->doc, out, path, kind);
        return error.empty() ? 1 : Refuse(Refusal::File, error);
    });
}

} // extern "C"
