#pragma once

#include <QString>

#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

// The folder browser of the add-files dialog: a modal choice of one existing folder.
class TFolderBrowser {
public:
    virtual ~TFolderBrowser() = default;
    // The chosen folder's full path (no trailing separator but for the root), or nothing when the
    // user cancels. The program's other windows are disabled while it is open.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title) = 0;
};

// The desktop's own folder dialog where it has one (Windows' and most Linux desktops'), else
// Qt's, made by NewFolderDialog.
class TQtFolderBrowser : public TFolderBrowser {
public:
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title) override;
};

// The folder dialog of ChooseFolder, not yet shown. Where Qt draws it itself, its list shows every
// column whole, the date of change included, in the language of Qt's translations.
std::unique_ptr<QFileDialog> NewFolderDialog(QWidget* parent, const QString& title);
