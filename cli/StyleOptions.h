#pragma once
// The style a command line builds, option by option in their order: a
// --style file replaces the values given before it, and their picks when it
// holds a background; the options after it replace its values, the first
// --pick after it its picks. --save-style writes what they made.

#include "document/ButtonStyle.h"

#include <ostream>
#include <string>

namespace pelto {

struct CliOptions;

class CStyleBuilder {
public:
    ButtonParams& Params() { return m_style.params; }
    const ButtonStyle& Style() const { return m_style; }

    // Empty, or the message saying why the file was refused.
    std::string TakeFile(const std::string& path);
    void AddPick(const BackgroundPick& pick);
    // The picture's transparent pixels alone, without the picks before.
    void TakeTransparent();
    void TakeCutOut() { m_style.cutOut = true; }
    void TakeStates() { m_style.states = true; }

private:
    ButtonStyle m_style;
    bool m_bPicksFromFile = false;
};

// Writes options.style to options.saveStyle; returns the exit code.
int SaveStyle(const CliOptions& options, std::ostream& err);

} // namespace pelto
