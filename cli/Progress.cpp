#include "Progress.h"

#include "NameQuoting.h"

#include <cstring>

namespace pelto {

namespace {

constexpr const char* kClearLine = "\r\033[K";

// m:ss, or h:mm:ss from an hour on.
std::string Duration(std::chrono::seconds time) {
    const long long s = time.count();
    const auto two = [](long long n) {
        std::string digits = std::to_string(n);
        return digits.insert(0, 2 - digits.size(), '0');
    };
    if (s >= 3600) return std::to_string(s / 3600) + ":" + two(s / 60 % 60) + ":" + two(s % 60);
    return std::to_string(s / 60) + ":" + two(s % 60);
}

// The end of text in at most room bytes, marked as cut, starting on a whole character.
std::string Tail(const std::string& text, size_t room) {
    constexpr std::string_view kCut = "...";
    if (text.size() <= room) return text;
    if (room <= kCut.size()) return {};
    size_t from = text.size() - (room - kCut.size());
    while (from < text.size() && (uint8_t(text[from]) & 0xC0) == 0x80)
        ++from;
    return std::string(kCut) + text.substr(from);
}

} // namespace

CBatchProgress::CBatchProgress(std::ostream& out, size_t total, ProgressForm form, size_t columns,
                               Clock clock)
    : m_out(out), m_nTotal(total), m_form(form), m_nColumns(columns), m_clock(std::move(clock)),
      m_start(m_clock()) {}

std::string CBatchProgress::Line() const {
    const std::string count = std::to_string(m_nDone) + "/" + std::to_string(m_nTotal) + " ";
    std::string left;
    if (m_nDone > 0 && m_nDone < m_nTotal) {
        const auto elapsed = m_clock() - m_start;
        const auto remaining = elapsed * double(m_nTotal - m_nDone) / double(m_nDone);
        left = ", about " + Duration(std::chrono::round<std::chrono::seconds>(remaining)) + " left";
    }
    // One column short of the width: a full line would wrap on some terminals.
    const size_t room = m_nColumns - 1 > count.size() + left.size()
                            ? m_nColumns - 1 - count.size() - left.size()
                            : 0;
    return count + Tail(m_current, room) + left;
}

void CBatchProgress::Draw() {
    m_out << kClearLine << Line() << std::flush;
}

void CBatchProgress::Started(const std::string& name) {
    const std::lock_guard lock(m_mutex);
    ++m_nStarted;
    m_current = QuotedName(name);
    if (m_form == ProgressForm::Terminal) Draw();
}

void CBatchProgress::Finished(const std::string& name, const PictureReport& report) {
    const std::lock_guard lock(m_mutex);
    ++m_nDone;
    const bool failed = report.exitCode != kExitOk;
    m_nFailed += failed;
    if (m_form == ProgressForm::Terminal && failed) m_out << kClearLine;
    const std::string shown = QuotedName(name);
    for (const std::string& message : report.messages)
        m_out << "pelto-cli: " << shown << ": " << message << "\n";
    if (m_form == ProgressForm::Terminal) Draw();
    if (m_form == ProgressForm::Lines)
        m_out << m_nDone << "/" << m_nTotal << " " << shown << (failed ? " failed" : "") << "\n";
    m_out << std::flush;
}

void CBatchProgress::End(int signal) {
    const std::lock_guard lock(m_mutex);
    if (m_form == ProgressForm::Terminal) m_out << kClearLine;
    m_out << "pelto-cli: ";
    if (signal) m_out << "stopped by SIG" << sigabbrev_np(signal) << ": ";
    m_out << m_nDone - m_nFailed << " of " << m_nTotal << " written, " << m_nFailed << " failed";
    if (m_nStarted < m_nTotal) m_out << ", " << m_nTotal - m_nStarted << " not started";
    m_out << "\n" << std::flush;
}

size_t CBatchProgress::Failed() const {
    const std::lock_guard lock(m_mutex);
    return m_nFailed;
}

} // namespace pelto
