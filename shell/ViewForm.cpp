#include "shell/ViewForm.h"

#include "ui_ViewForm.h"

#include "conversion/ConversionRun.h"
#include "conversion/FileError.h"
#include "conversion/LineList.h"
#include "shell/QtText.h"
#include "shell/ShellTexts.h"
#include "shell/ViewText.h"

#include <filesystem>
#include <system_error>

TViewForm::TViewForm()
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      m_ui(std::make_unique<Ui::TViewForm>()) {
    m_ui->setupUi(this);
    setFixedSize(size());
    move(393, 249);
    m_ui->Memo1->SetText(QStringLiteral("Memo1"));
}

TViewForm::~TViewForm() = default;

void TViewForm::ViewFile(const std::string& path) {
    show();
    raise();
    activateWindow();
    setWindowTitle(FromName(path));
    m_ui->Memo1->Clear();
    // Looked at before it is read, so a huge file is refused without filling the memory.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > MAX_BYTES) {
        throw TUserError(texts::TEXT_TOO_LARGE);
    }
    const std::string bytes = LoadBytes(path);
    if (bytes.size() > MAX_BYTES) {
        throw TUserError(texts::TEXT_TOO_LARGE);
    }
    // An SGF record is read by the conversion's rule, so a UTF-8 record shows its own text.
    const TViewedText text = ViewedText(bytes, RecordKindOf(path) == TRecordKind::Sgf);
    m_ui->Memo1->SetText(
        text.utf8 ? QString::fromUtf8(text.bytes.data(), static_cast<qsizetype>(text.bytes.size()))
                  : FromShiftJis(text.bytes));
}
