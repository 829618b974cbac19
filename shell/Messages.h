#pragma once

#include "conversion/FileError.h"
#include "conversion/Services.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <exception>
#include <utility>

// The message boxes of the program: the two of the conversion run, and the error box of the
// application that reports an error that ended a handler.
class TShellMessages : public TMessageService {
public:
    // Caption "囲碁棋譜ファイル変換", error icon, the text followed by ".".
    virtual void ApplicationError(const TUserText& text) = 0;
    // The window the boxes belong to and come up above from now on (the progress window during a
    // run); none: the window that is active when a box opens.
    virtual void SetOwner(QWidget* owner) = 0;
};

// Modal Qt message boxes over their owner, or over the window that is active when they open.
class TMessageBoxes : public TShellMessages {
public:
    void Info(const TUserText& text) override;
    void Error(const TUserText& text) override;
    void ApplicationError(const TUserText& text) override;
    void SetOwner(QWidget* owner) override;

private:
    void Show(int icon, const QString& caption, const QString& text);

    QPointer<QWidget> m_owner;
};

// Runs body; an error that escapes it is shown in the application's error box and goes no
// further, since Qt carries no exception through its event loop.
template <typename Body>
void Guarded(TShellMessages& messages, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const TUserError& error) {
        messages.ApplicationError(error.text);
    } catch (const std::exception& error) {
        messages.ApplicationError(TUserText(error.what()));
    }
}
