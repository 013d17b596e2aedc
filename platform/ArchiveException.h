#pragma once
// Thrown when a file cannot be loaded or stored. It carries the user-facing
// text of whoever refused the file, so the caller can show it before its own.

#include <stdexcept>
#include <string>

namespace pelto {

class CArchiveException : public std::runtime_error {
public:
    enum Cause { none = 0, generic = 1, readOnly = 2, endOfFile = 3, writeOnly = 4, badIndex = 5 };

    CArchiveException(Cause cause, const std::string& message)
        : std::runtime_error(message), m_cause(cause) {}

    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

} // namespace pelto
