#include "conversion/FileError.h"

#include "conversion/Texts.h"

namespace {

std::string Message(TFileErrorKind kind, const std::string& path) {
    return texts::FILE_PREFIX + path +
           (kind == TFileErrorKind::Open ? texts::CANNOT_OPEN : texts::CANNOT_CREATE);
}

}  // namespace

TFileError::TFileError(TFileErrorKind kind, const std::string& path)
    : std::runtime_error(Message(kind, path)), kind(kind), path(path) {}
