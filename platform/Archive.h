#pragma once
// An archive over an open file, either loading or storing. It buffers nothing:
// Flush only exists so callers can keep the "flush, then use the file" order.

#include "system/File.h"

namespace pelto {

class CArchive {
public:
    enum Mode { load = 1, store = 0 };

    CArchive(CFile& file, Mode mode) : m_file(file), m_mode(mode) {}

    bool IsStoring() const { return m_mode == store; }
    CFile* GetFile() const { return &m_file; }
    void Flush() {}

private:
    CFile& m_file;
    Mode m_mode;
};

} // namespace pelto
