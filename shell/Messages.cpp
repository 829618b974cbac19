#include "shell/Messages.h"

#include "shell/QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void Show(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName("MessageBox");
    box.exec();
}

}  // namespace

void TMessageBoxes::Info(const TUserText& text) {
    Show(QMessageBox::Information, "情報", FromUserText(text));
}

void TMessageBoxes::Error(const TUserText& text) {
    Show(QMessageBox::Critical, "エラー", FromUserText(text));
}

void TMessageBoxes::ApplicationError(const TUserText& text) {
    Show(QMessageBox::Critical, "囲碁棋譜ファイル変換", FromUserText(text) + ".");
}
