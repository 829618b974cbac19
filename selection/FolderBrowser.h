#pragma once

#include <QString>

#include <optional>

class QWidget;

// The folder browser of the add-files dialog: a modal choice of one existing folder.
class TFolderBrowser {
public:
    virtual ~TFolderBrowser() = default;
    // The chosen folder's full path (no trailing separator but for the root), or nothing when the
    // user cancels. The program's other windows are disabled while it is open.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title) = 0;
};

// The desktop's own folder dialog.
class TQtFolderBrowser : public TFolderBrowser {
public:
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title) override;
};
