#include "DocMessages.h"

#include <cerrno>

namespace pelto {

namespace docmsg {
namespace {

const char* Reason(int error) {
    switch (error) {
    case ENOENT:
        return kNotFound;
    case EACCES:
    case EPERM:
        return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    case EROFS:
        return kReadOnly;
    case ENAMETOOLONG:
        return kNameTooLong;
    case ENOTDIR:
        return kNotAFolder;
    case ELOOP:
        return kLinkLoop;
    case EFBIG:
        return kTooBig;
    case ENOMEM:
        return kOutOfMemory;
    default:
        return kInputOutputError;
    }
}

const char* OpenReason(int error) {
    return error == EISDIR ? kFolderToOpen : Reason(error);
}

const char* SaveReason(int error) {
    switch (error) {
    case EISDIR:
        return kFolderInTheWay;
    case ENXIO:
        return kNoPipeReader;
    case EPIPE:
        return kPipeClosed;
    case kSocketTarget:
        return kSocket;
    default:
        return Reason(error);
    }
}

} // namespace

std::string CannotOpen(const std::string& path, int error) {
    return translation::Fill(Text(kCannotOpen), path) + "\n" + Text(OpenReason(error));
}

std::string CannotSave(const std::string& path, const SaveOutcome& outcome) {
    std::string text =
        translation::Fill(Text(kCannotSave), path) + "\n" + Text(SaveReason(outcome.error));
    if (!outcome.hadOriginal) return text;
    if (outcome.originalKept) return text + "\n" + Text(kOriginalUnchanged);
    text += "\n" + Text(kOriginalLost);
    if (!outcome.backup.empty()) text += translation::Fill(Text(kOriginalKeptAt), outcome.backup);
    return text;
}

} // namespace docmsg

} // namespace pelto
