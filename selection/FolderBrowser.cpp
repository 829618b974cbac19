#include "selection/FolderBrowser.h"

#include <QDir>
#include <QFileDialog>

std::optional<QString> TQtFolderBrowser::ChooseFolder(QWidget* parent, const QString& title) {
    const QString folder =
        QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(folder);
}
