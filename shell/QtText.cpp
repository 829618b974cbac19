#include "shell/QtText.h"

#include "shell/Platform.h"

QString FromShiftJis(std::string_view bytes) { return DecodeCodePage932(bytes); }

QString FromUserText(const TUserText& text) {
    QString result;
    for (const TUserText::TPiece& piece : text.Pieces()) {
        result += piece.isName ? FromName(piece.bytes) : FromShiftJis(piece.bytes);
    }
    return result;
}
