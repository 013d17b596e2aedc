#include "ButtonSet.h"

#include "DocMessages.h"
#include "engine/BevelPreview.h"
#include "engine/ButtonStates.h"
#include "system/FileSave.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pelto {

namespace {

void CopyState(const CButtonState& from, CButtonState& to) {
    to.picture.Copy(from.picture);
    if (from.alpha) (to.alpha = std::make_unique<CAlphaPlane>())->Copy(*from.alpha);
}

// The four stacked top to bottom: state i's stored row y is the sprite's
// row (3 - i) * height + y, stored rows counting from the bottom.
void BuildSprite(const std::array<CButtonState, 4>& states, CButtonState& sprite) {
    const int width = states[0].picture.m_nWidth, height = states[0].picture.m_nHeight;
    sprite.picture.BuildPicture(width, 4 * height);
    if (states[0].alpha) sprite.alpha = std::make_unique<CAlphaPlane>(width, 4 * height);
    const size_t rowBytes = size_t(CDIB::Stride24(width));
    for (int i = 0; i < 4; ++i)
        for (int y = 0; y < height; ++y) {
            const int row = (3 - i) * height + y;
            std::memcpy(sprite.picture.Row(row), states[size_t(i)].picture.Row(y), rowBytes);
            if (sprite.alpha)
                std::memcpy(sprite.alpha->Row(row), states[size_t(i)].alpha->Row(y), size_t(width));
        }
}

// A text inside a CSS string: its quotes, backslashes and line ends escaped.
std::string CssString(const std::string& text) {
    std::string quoted;
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        if (c == '\n' || c == '\r' || c == '\f') {
            quoted += c == '\n' ? "\\a " : c == '\r' ? "\\d " : "\\c ";
            continue;
        }
        quoted += c;
    }
    return quoted;
}

// A file's whole content, when one stands at path; false when it cannot be read.
bool OldContent(const std::string& path, std::optional<std::string>& content) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return true;
    try {
        CFile file(path, CFile::Mode::Read);
        std::string bytes(size_t(file.GetLength()), '\0');
        if (file.Read(bytes.data(), bytes.size()) != bytes.size()) return false;
        content = std::move(bytes);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

} // namespace

std::unique_ptr<CButtonSet> MakeButtonSet(const CPeltoDoc& doc, const ButtonParams& params,
                                          unsigned threads) {
    auto made = std::make_unique<CButtonSet>();
    CButtonSet& set = *made;
    CBevelPreview preview(doc.Picture(), *doc.Selection(), doc.Opacity());
    CButtonState& normal = set.states[CButtonSet::Normal];
    if (doc.Opacity()) normal.alpha = std::make_unique<CAlphaPlane>();
    preview.Render(params, normal.picture, threads, normal.alpha.get());
    // Rendered with its opacity, as the rim's colours are grown with it; it is
    // the normal button's, which the light's side does not change.
    CButtonState& pressed = set.states[CButtonSet::Pressed];
    if (normal.alpha) pressed.alpha = std::make_unique<CAlphaPlane>();
    preview.Render(PressedParams(params), pressed.picture, threads, pressed.alpha.get());
    CopyState(normal, set.states[CButtonSet::Hover]);
    MakeHover(set.states[CButtonSet::Hover].picture, normal.alpha.get());
    CopyState(normal, set.states[CButtonSet::Disabled]);
    MakeDisabled(set.states[CButtonSet::Disabled].picture);
    BuildSprite(set.states, set.sprite);
    return made;
}

std::string CssClassName(const std::string& stem) {
    std::string name;
    for (const unsigned char c : stem)
        name += std::isalnum(c) || c == '-' || c == '_' ? char(c) : '_';
    // A name may not start with a digit, nor with a hyphen and a digit, nor be empty.
    const bool digitFirst =
        !name.empty() && (std::isdigit(static_cast<unsigned char>(name[0])) ||
                          (name[0] == '-' && name.size() > 1 &&
                           (std::isdigit(static_cast<unsigned char>(name[1])) || name[1] == '-')));
    return name.empty() || name == "-" || digitFirst ? "_" + name : name;
}

std::string ButtonSetCss(const std::string& className, const std::string& spriteFile, int width,
                         int height) {
    const std::string c = "." + className;
    const auto px = [](int n) { return n ? "-" + std::to_string(n) + "px" : std::string("0"); };
    return "/* A button's normal, hover, pressed and disabled looks, in one sprite. */\n" + c +
           " {\n  display: inline-block;\n  width: " + std::to_string(width) +
           "px;\n  height: " + std::to_string(height) + "px;\n  padding: 0;\n  border: 0;\n" +
           "  background: url(\"" + CssString(spriteFile) + "\") 0 0 no-repeat;\n}\n" + c +
           ":hover {\n  background-position: 0 " + px(height) + ";\n}\n" + c +
           ":active {\n  background-position: 0 " + px(2 * height) + ";\n}\n" + c + ":disabled,\n" +
           c + "[aria-disabled=\"true\"] {\n  background-position: 0 " + px(3 * height) + ";\n}\n";
}

std::vector<ButtonSetFile> ButtonSetFiles(const CButtonSet& set, const std::string& out,
                                          PictureFormat format) {
    const size_t slash = out.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : out.substr(0, slash + 1);
    const std::string name = out.substr(folder.size());
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = name.substr(stem.size());
    const auto picture = [format](const CButtonState* state) {
        return [state, format](CFile& file) {
            StorePicture(file, state->picture, state->alpha.get(), format);
        };
    };
    std::vector<ButtonSetFile> files;
    for (size_t i = 0; i < 4; ++i)
        files.push_back({folder + stem + kStateSuffixes[i] + extension, picture(&set.states[i])});
    const std::string spriteName = stem + kSpriteSuffix + extension;
    files.push_back({folder + spriteName, picture(&set.sprite)});
    std::string css = ButtonSetCss(CssClassName(stem), spriteName, set.states[0].picture.m_nWidth,
                                   set.states[0].picture.m_nHeight);
    files.push_back({folder + stem + ".css",
                     [css = std::move(css)](CFile& file) { file.Write(css.data(), css.size()); }});
    return files;
}

std::string SaveButtonSet(const CButtonSet& set, const std::string& out, PictureFormat format,
                          const ShowPath& show) {
    const std::vector<ButtonSetFile> files = ButtonSetFiles(set, out, format);
    const auto refusal = [&](const std::string& path, SaveOutcome outcome) {
        if (!show) return docmsg::CannotSave(path, outcome);
        if (!outcome.backup.empty()) outcome.backup = show(outcome.backup);
        return docmsg::CannotSave(show(path), outcome);
    };
    std::vector<std::optional<std::string>> old(files.size());
    for (size_t i = 0; i < files.size(); ++i)
        if (!OldContent(files[i].path, old[i])) {
            SaveOutcome outcome;
            outcome.error = EACCES;
            return refusal(files[i].path, outcome);
        }
    for (size_t i = 0; i < files.size(); ++i) {
        const SaveOutcome outcome = SaveFile(files[i].path, files[i].write);
        if (!outcome.error) continue;
        // All or none: the files saved before are taken back.
        for (size_t j = 0; j < i; ++j) {
            if (!old[j]) {
                ::unlink(files[j].path.c_str());
                continue;
            }
            const std::string& content = *old[j];
            SaveFile(files[j].path,
                     [&content](CFile& file) { file.Write(content.data(), content.size()); });
        }
        return refusal(files[i].path, outcome);
    }
    return {};
}

} // namespace pelto
