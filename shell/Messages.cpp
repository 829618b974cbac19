#include "shell/Messages.h"

#include "shell/OnScreen.h"
#include "shell/QtText.h"

#include <QApplication>
#include <QMessageBox>

void TMessageBoxes::Show(int icon, const QString& caption, const QString& text) {
    // A box that belongs to a window the system shows above that window, and above the windows
    // that window belongs to.
    QWidget* owner =
        m_owner != nullptr && m_owner->isVisible() ? m_owner.data() : QApplication::activeWindow();
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), caption, text, QMessageBox::Ok, owner);
    box.setObjectName("MessageBox");
    KeepOnScreen(box, owner);
    box.exec();
}

void TMessageBoxes::Info(const TUserText& text) {
    Show(QMessageBox::Information, "情報", FromUserText(text));
}

void TMessageBoxes::Error(const TUserText& text) {
    Show(QMessageBox::Critical, "エラー", FromUserText(text));
}

void TMessageBoxes::ApplicationError(const TUserText& text) {
    Show(QMessageBox::Critical, "囲碁棋譜ファイル変換", FromUserText(text) + ".");
}

void TMessageBoxes::SetOwner(QWidget* owner) { m_owner = owner; }
