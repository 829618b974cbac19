#include "conversion/FileError.h"

#include "conversion/Texts.h"

namespace {

TUserText Message(TFileErrorKind kind, const std::string& path) {
    TUserText text(texts::FILE_PREFIX);
    text.Name(path).Text(kind == TFileErrorKind::Open ? texts::CANNOT_OPEN : texts::CANNOT_CREATE);
    return text;
}

}  // namespace

TUserError::TUserError(TUserText text) : std::runtime_error(text.Bytes()), text(std::move(text)) {}

TFileError::TFileError(TFileErrorKind kind, const std::string& path)
    : TUserError(Message(kind, path)), kind(kind), path(path) {}
