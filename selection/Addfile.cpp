#include "selection/Addfile.h"

#include "ui_Addfile.h"

#include "conversion/ConversionRun.h"
#include "selection/AddRules.h"
#include "selection/Fonts.h"
#include "selection/Names.h"
#include "selection/StatusLine.h"

#include <QComboBox>
#include <QFont>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QShowEvent>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Texts shown in the dialog.
const char* const BROWSE_TITLE = "棋譜ファイルのあるディレクトリを選択してください";
const char* const HINT_EMPTY = "棋譜ファイルのあるディレクトリ選択してください";
const char* const HINT_LISTED = "変換したい棋譜ファイルにチェックを入れてください";

// One of the three tool-bar pictures, drawn on a 16 x 16 grid at the given scale.
QPixmap DrawImage(int image, int scale) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(64, 64, 64);
    if (image == 0) {
        // An open folder.
        painter.setPen(QPen(QColor(150, 110, 20), 1));
        painter.setBrush(QColor(236, 196, 90));
        QPainterPath back;
        back.moveTo(1.5, 3.5);
        back.lineTo(6.5, 3.5);
        back.lineTo(7.5, 5.5);
        back.lineTo(13.5, 5.5);
        back.lineTo(13.5, 13.5);
        back.lineTo(1.5, 13.5);
        back.closeSubpath();
        painter.drawPath(back);
        painter.setBrush(QColor(250, 222, 130));
        QPainterPath front;
        front.moveTo(1.5, 13.5);
        front.lineTo(4.0, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13.5, 13.5);
        front.closeSubpath();
        painter.drawPath(front);
        return pixmap;
    }
    // Two tick boxes, one behind the other; ticked for "tick all", empty for "untick all".
    for (const QPointF origin : {QPointF(5.5, 1.5), QPointF(1.5, 5.5)}) {
        const QRectF box(origin, QSizeF(9, 9));
        painter.setPen(QPen(ink, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(box);
        if (image == 1) {
            painter.setPen(
                QPen(QColor(0, 120, 0), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(
                QPolygonF({box.topLeft() + QPointF(2, 4.5), box.topLeft() + QPointF(4, 6.5),
                           box.topLeft() + QPointF(7.5, 2)}));
        }
    }
    return pixmap;
}

QIcon ToolBarIcon(int image) {
    QIcon icon;
    icon.addPixmap(DrawImage(image, 1));
    icon.addPixmap(DrawImage(image, 2));
    return icon;
}

}  // namespace

TAddfile::TAddfile(TCandidateRows& rows, QComboBox& TmpDirListCBox, TFolderBrowser& browser,
                   QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::TAddfile>()),
      m_rows(rows),
      m_tmpDirListCBox(TmpDirListCBox),
      m_browser(browser) {
    setFont(ClassicFont(9));
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    move(362, 221);

    const QFont toolFont = ClassicFont(8.25);
    QToolButton* const buttons[] = {m_ui->SelectDir, m_ui->CheckAllBtn, m_ui->UnCheckAllBtn};
    for (int image = 0; image < 3; ++image) {
        ToolBarImage[static_cast<std::size_t>(image)] = ToolBarIcon(image);
        buttons[image]->setIcon(ToolBarImage[static_cast<std::size_t>(image)]);
        buttons[image]->setIconSize(QSize(16, 16));
        buttons[image]->setFont(toolFont);
    }
    // What is typed is what is listed: no completion from the history. Enter there lists
    // nothing more and presses no button: the dialog has no default button.
    m_ui->DirectoryList->setCompleter(nullptr);
    m_ui->DirectoryList->lineEdit()->installEventFilter(this);
    // Nor does Enter anywhere else: only OK adds rows, and only OK pressed itself.
    m_ui->OKButton->setAutoDefault(false);
    m_ui->CanButton->setAutoDefault(false);
    // Lines tall enough for the font and the tick box, never less than the classic 12 pixels.
    m_ui->CheckFileListBox->SetItemHeight(std::max(
        {12, fontMetrics().height(), style()->pixelMetric(QStyle::PM_IndicatorHeight) + 2}));
    m_ui->OKButton->setFocus();

    FileList.Mask() = RecordMasks(TRecordKind::Sgf);
    FileList.OnDirChange = [this](TFileList&) { FileListDirChange(); };

    connect(m_ui->SelectDir, &QToolButton::clicked, this, &TAddfile::SelectDirClick);
    connect(m_ui->DirectoryList, &QComboBox::editTextChanged, this, &TAddfile::DirectoryListChange);
    connect(m_ui->SGFRadioBtn, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            SGFRadioBtnClick();
        }
    });
    connect(m_ui->UGFRadioBtn, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            UGFRadioBtnClick();
        }
    });
    connect(m_ui->CheckAllBtn, &QToolButton::clicked, this, &TAddfile::CheckAllBtnClick);
    connect(m_ui->UnCheckAllBtn, &QToolButton::clicked, this, &TAddfile::UnCheckAllBtnClick);
    connect(m_ui->CheckFileListBox, &TCheckListBox::MouseDown, this,
            &TAddfile::CheckFileListBoxMouseDown);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &TAddfile::OKButtonClick);
    connect(m_ui->CanButton, &QPushButton::clicked, this, &TAddfile::CanButtonClick);
}

TAddfile::~TAddfile() = default;

bool TAddfile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->DirectoryList->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    return QDialog::eventFilter(watched, event);
}

void TAddfile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TAddfile::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        FormHide();
    }
}

void TAddfile::FormShow() {
    // Filling the drop-down would put its first entry into the text: the text stays as it is, and
    // nothing is listed by this.
    QComboBox& box = *m_ui->DirectoryList;
    const QSignalBlocker blocker(box);
    const QString text = box.currentText();
    box.clear();
    for (int i = 0; i < m_tmpDirListCBox.count(); ++i) {
        box.addItem(m_tmpDirListCBox.itemText(i));
    }
    box.setCurrentIndex(-1);
    box.setEditText(text);
}

void TAddfile::FormHide() {
    m_tmpDirListCBox.clear();
    for (int i = 0; i < m_ui->DirectoryList->count(); ++i) {
        m_tmpDirListCBox.addItem(m_ui->DirectoryList->itemText(i));
    }
}

void TAddfile::SelectDirClick() {
    const std::optional<QString> folder =
        m_browser.ChooseFolder(this, QString::fromUtf8(BROWSE_TITLE));
    if (!folder) {
        return;
    }
    {
        // Setting the text is no typing: the folder is written to the listing once, below, and
        // the same folder again lists nothing anew, so the ticks stay.
        const QSignalBlocker blocker(m_ui->DirectoryList);
        m_ui->DirectoryList->insertItem(0, *folder);
        m_ui->DirectoryList->setEditText(*folder);
    }
    FileList.SetDirectory(ToName(*folder));
}

void TAddfile::DirectoryListChange(const QString& text) { FileList.SetDirectory(ToName(text)); }

void TAddfile::FileListDirChange() {
    // A name or folder with a line break is not listed: the stored list could not keep its row.
    std::vector<std::string> lines;
    lines.reserve(FileList.Files().size());
    std::size_t unlisted = 0;
    for (const std::string& file : FileList.Files()) {
        if (CanBeRow({file, FileList.Directory()})) {
            lines.push_back(ListedName(file));
        } else {
            ++unlisted;
        }
    }
    TCheckListBox& list = *m_ui->CheckFileListBox;
    const std::size_t listed = lines.size();
    list.SetLines(std::move(lines));
    if (listed == 0) {
        list.setToolTip(QString::fromUtf8(HINT_EMPTY));
    } else {
        list.setToolTip(QString::fromUtf8(HINT_LISTED));
    }
    // Whole, in a shorter form when the whole text is wider than the bar.
    ShowStatus(*m_ui->StatusBar, FileCountForms(listed, unlisted));
    m_ui->CheckAllBtn->setEnabled(list.Count() > 0);
    m_ui->UnCheckAllBtn->setEnabled(list.Count() > 0);
}

void TAddfile::UseMask(const std::vector<std::string>& masks) {
    FileList.Mask() = masks;
    FileList.RebuildList();
    FileListDirChange();
}

void TAddfile::SGFRadioBtnClick() { UseMask(RecordMasks(TRecordKind::Sgf)); }

// ".ugi" is the name the newer UGF records often carry; they convert like ".ugf".
void TAddfile::UGFRadioBtnClick() { UseMask(RecordMasks(TRecordKind::Ugf)); }

void TAddfile::CheckAllBtnClick() {
    TCheckListBox& list = *m_ui->CheckFileListBox;
    const bool hadFocus = list.hasFocus();
    list.setEnabled(false);
    list.SetAllChecked(true);
    list.setEnabled(true);
    if (hadFocus) {
        list.setFocus();
    }
}

void TAddfile::UnCheckAllBtnClick() {
    TCheckListBox& list = *m_ui->CheckFileListBox;
    const bool hadFocus = list.hasFocus();
    list.setEnabled(false);
    list.SetAllChecked(false);
    list.setEnabled(true);
    if (hadFocus) {
        list.setFocus();
    }
}

void TAddfile::CheckFileListBoxMouseDown(Qt::MouseButton button, QPoint position, bool onTickBox) {
    TCheckListBox& list = *m_ui->CheckFileListBox;
    // A left press on a tick box is the list's own; anywhere else right of one line height the
    // press inverts the selected line, which the list has just made the line pressed.
    if (list.Count() == 0 || position.x() <= list.ItemHeight() ||
        (button == Qt::LeftButton && onTickBox)) {
        return;
    }
    const int selected = list.ItemIndex();
    if (selected >= 0) {
        list.SetChecked(selected, !list.Checked(selected));
    }
}

void TAddfile::CanButtonClick() { reject(); }

void TAddfile::OKButtonClick() {
    TCheckListBox& list = *m_ui->CheckFileListBox;
    list.setEnabled(false);
    m_ui->DirectoryList->setEnabled(false);
    // The directory exactly as its text holds it, with the ticked lines in their order.
    const std::string directory = ToName(m_ui->DirectoryList->currentText());
    std::vector<int> ticked;
    std::vector<TCandidateRow> candidates;
    for (int row = 0; row < list.Count(); ++row) {
        if (list.Checked(row)) {
            ticked.push_back(row);
            candidates.push_back(TCandidateRow{list.Line(row), directory});
        }
    }
    const std::vector<bool> listed = AlreadyListed(m_rows, candidates);
    std::vector<TCandidateRow> added;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (listed[i]) {
            list.SetChecked(ticked[i], false);
        } else {
            added.push_back(candidates[i]);
        }
    }
    if (!added.empty()) {
        m_rows.AppendRows(added);
    }
    list.setEnabled(true);
    m_ui->DirectoryList->setEnabled(true);
    accept();
}
