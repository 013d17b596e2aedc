// A build tool: writes the web page's copy of what it shares with the
// windows (the button values' ranges and starting values, the style file's
// words for the choices, the tolerance's range, the zoom steps, the
// checkerboard, the dial's constants) as a JavaScript
// module, so that the page never holds a second source of them.
//   page_values OUT.mjs

#include "document/ButtonStyle.h"
#include "document/Presentation.h"
#include "engine/Angles.h"
#include "engine/BackgroundPick.h"
#include "engine/ButtonParams.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using namespace pelto;

std::string Range(const char* name, const ValueRange& range) {
    std::ostringstream out;
    out << "  " << name << ": { low: " << range.low << ", high: " << range.high
        << ", initial: " << range.initial << " },\n";
    return out.str();
}

std::string Module() {
    const ButtonParams initial;
    std::ostringstream out;
    out.precision(17);
    out << "// Written by page_values (web/PageValues.cpp) from the C++ headers.\n"
        << "export const ranges = {\n";
    for (const StyleNumber& number : kStyleNumbers)
        out << Range(number.name, number.range);
    out << Range("tolerance", kToleranceRange) << "};\n"
        << "export const choices = {\n";
    for (const StyleChoice& choice : kStyleChoices)
        out << "  " << choice.name << ": ['" << choice.choices[0] << "', '" << choice.choices[1]
            << "'],\n";
    out << "};\nexport const initialChoices = {";
    for (const StyleChoice& choice : kStyleChoices)
        out << " " << choice.name << ": '" << choice.choices[choice.get(initial)] << "',";
    out << " };\n"
        << "export const zoomSteps = [";
    for (const CZoom& step : kZoomSteps)
        out << "[" << step.num << ", " << step.den << "], ";
    out << "];\n"
        << "export const checker = { square: " << kCheckerSquare << ", levels: ["
        << int(kCheckerLevels[0]) << ", " << int(kCheckerLevels[1]) << "] };\n"
        << "export const pi = " << kPi << ";\n"
        << "export const degreesPerRadian = " << kDegreesPerRadian << ";\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: page_values OUT.mjs\n");
        return 2;
    }
    std::ofstream(argv[1]) << Module();
    return 0;
}
