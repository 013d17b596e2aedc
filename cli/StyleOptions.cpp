#include "StyleOptions.h"

#include "CliOptions.h"
#include "CliRun.h"

namespace pelto {

std::string CStyleBuilder::TakeFile(const std::string& path) {
    // A FIFO's writer is waited for as for an input picture.
    StyleRead read = ReadStyle(path, CFile::Mode::ReadWaiting);
    if (!read.style) return read.error;
    m_style.params = read.style->params;
    m_style.cutOut = read.style->cutOut;
    m_style.states = read.style->states;
    if (read.style->background) {
        m_style.background = std::move(read.style->background);
        m_bPicksFromFile = true;
    }
    return {};
}

void CStyleBuilder::AddPick(const BackgroundPick& pick) {
    if (m_bPicksFromFile || !m_style.background) m_style.background.emplace();
    m_bPicksFromFile = false;
    m_style.background->push_back(pick);
}

void CStyleBuilder::TakeTransparent() {
    m_style.background.emplace();
    m_bPicksFromFile = false;
}

int SaveStyle(const CliOptions& options, std::ostream& err) {
    if (const std::string error = WriteStyle(options.style, options.saveStyle); !error.empty()) {
        err << "pelto-cli: " << error << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace pelto
