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

ButtonParams Params(int angle, int contrast, int width, int shape, int outline) {
    ButtonParams params;
    params.angle = angle;
    params.contrast = contrast;
    params.width = width;
    params.shape = BevelShape(shape != 0);
    params.outline = BevelOutline(outline != 0);
    return params;
}

// The values a style file accepts, refused with its messages otherwise.
bool CheckParams(const ButtonParams& params) {
    for (const StyleNumber& number : kStyleNumbers) {
        const int32_t value = params.*number.value;
        if (value < number.range.low || value > number.range.high) {
            Refuse(translation::Fill(docmsg::Text(docmsg::kStyleBadValue), number.name) + "\n" +
                   translation::Fill(translation::Fill(docmsg::Text(docmsg::kStyleWholeNumber),
                                                       std::to_string(number.range.low)),
                                     std::to_string(number.range.high), 2));
            return false;
        }
    }
    return true;
}

} // namespace

WebDocument* Find(int handle) {
    const auto found = g_documents.find(handle);
    if (found != g_documents.end()) return &found->second;
    Refuse("no open document " + std::to_string(handle));
    return nullptr;
}

int Keep(std::unique_ptr<CPeltoDoc> doc) {
    g_documents[++g_nLastHandle].doc = std::move(doc);
    return g_nLastHandle;
}

void Drop(int handle) {
    g_documents.erase(handle);
}

int Refuse(const std::string& message) {
    g_error = message;
    return 0;
}

int Refuse(const std::vector<std::string>& messages) {
    std::string joined;
    for (const std::string& message : messages)
        joined += (joined.empty() ? "" : "\n") + message;
    return Refuse(joined);
}

const char* Handed(std::string text) {
    g_handed = std::move(text);
    return g_handed.c_str();
}

const char* LastError() {
    return g_error.c_str();
}

} // namespace pelto::web

using namespace pelto;
using namespace pelto::web;

extern "C" {

const char* pelto_error() {
    return LastError();
}

int pelto_open(const char* path) {
    return Guarded([&] {
        DocOpenResult opened = OpenDocument(path);
        if (!opened.doc) return Refuse(opened.messages);
        // A page has nothing to show or do with it, and says so as pelto-cli does.
        if (!opened.doc->Picture().HasBlock()) return Refuse(docmsg::Text(docmsg::kEmptyPicture));
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
        return Refuse(outside);
    if (tolerance < kToleranceRange.low || tolerance > kToleranceRange.high)
        return Refuse(translation::Fill(docmsg::Text(docmsg::kStyleBadValue), "tolerance"));
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

const uint8_t* pelto_preview(int doc, int angle, int contrast, int width, int shape, int outline) {
    web::WebDocument* open = Find(doc);
    if (!open) return nullptr;
    const ButtonParams params = Params(angle, contrast, width, shape, outline);
    if (!CheckParams(params)) return nullptr;
    CPeltoDoc& d = *open->doc;
    if (!d.HasSelection()) {
        Refuse(translation::Translate(kViewContext, kSelectFirst));
        return nullptr;
    }
    const int done = Guarded([&] {
        if (!open->preview)
            open->preview =
                std::make_unique<CBevelPreview>(d.Picture(), *d.Selection(), d.Opacity());
        CDIB result;
        CAlphaPlane alpha;
        open->preview->Render(params, result, kThreads, d.Opacity() ? &alpha : nullptr);
        Draw(result, d.Opacity() ? &alpha : nullptr, nullptr, open->rgba);
        return 1;
    });
    return done ? open->rgba.data() : nullptr;
}

int pelto_make_button(int doc, int angle, int contrast, int width, int shape, int outline) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    const ButtonParams params = Params(angle, contrast, width, shape, outline);
    if (!CheckParams(params)) return 0;
    if (!open->doc->HasSelection())
        return Refuse(translation::Translate(kViewContext, kSelectFirst));
    return Guarded([&] {
        open->doc->MakeButton(params, kThreads);
        open->preview.reset();
        return 1;
    });
}

int pelto_undo(int doc) {
    web::WebDocument* open = Find(doc);
    if (!open) return 0;
    if (!open->doc->CanUndo()) return Refuse("nothing to undo");
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
    if (!open->doc->CanRedo()) return Refuse("nothing to redo");
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
        return error.empty() ? 1 : Refuse(error);
    });
}

} // extern "C"
