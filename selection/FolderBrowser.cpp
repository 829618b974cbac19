#include "selection/FolderBrowser.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QShowEvent>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace {

// The column of Qt's file list that shows when a folder was changed.
constexpr int DATE_COLUMN = 3;

// Qt's folder dialog with room for the date of change in the user's locale: Qt sizes that column
// for an American date ("10/29/81 02:02PM"), which cuts off a Japanese one ("2026/12/07 16:16").
class TFolderDialog : public QFileDialog {
public:
    TFolderDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title) {}

protected:
    void showEvent(QShowEvent* event) override {
        // None where the desktop's own dialog is shown instead.
        if (auto* list = findChild<QTreeView*>(QStringLiteral("treeView"))) {
            // A date as the list writes it, with the widest digits and the longest month and day.
            const QString widest = QLocale::system().toString(
                QDateTime(QDate(2088, 12, 28), QTime(20, 58)), QLocale::ShortFormat);
            const int margin =
                list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            const int width = list->fontMetrics().horizontalAdvance(widest) + 2 * margin +
                              list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
            QHeaderView& header = *list->header();
            header.resizeSection(DATE_COLUMN, std::max(header.sectionSize(DATE_COLUMN), width));
        }
        QFileDialog::showEvent(event);
    }
};

}  // namespace

std::optional<QString> TQtFolderBrowser::ChooseFolder(QWidget* parent, const QString& title) {
    const std::unique_ptr<QFileDialog> dialog = NewFolderDialog(parent, title);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty() ||
        dialog->selectedFiles().front().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog->selectedFiles().front());
}

std::unique_ptr<QFileDialog> NewFolderDialog(QWidget* parent, const QString& title) {
    auto dialog = std::make_unique<TFolderDialog>(parent, title);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    return dialog;
}
