#include "shell/AboutBox.h"

#include "ui_AboutBox.h"

#include "shell/OnScreen.h"
#include "shell/Version.h"

#include <QDesktopServices>
#include <QMouseEvent>

TAboutBox::TAboutBox(QWidget* parent, std::function<void(const QUrl&)> open)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAboutBox>()), m_open(std::move(open)) {
    if (!m_open) {
        m_open = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    }
    m_ui->setupUi(this);
    setFixedSize(size());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    m_ui->Label2->setText(QStringLiteral("Ver") + QString::fromUtf8(MORVANE_VERSION));
    m_ui->Label3->setText(QString::fromUtf8(MORVANE_MAKER));
    m_ui->hpurl->setText(QString::fromUtf8(MORVANE_HOMEPAGE));
    m_ui->mailurl->setText(QString::fromUtf8(MORVANE_MAIL));
    m_ui->hpurl->installEventFilter(this);
    m_ui->mailurl->installEventFilter(this);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    // Centred by its frame on the screen of the window that opens it, not over that window.
    KeepOnScreen(*this, parent, TPlacing::Centre);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::hpurlClick() { m_open(QUrl(QString::fromUtf8(MORVANE_HOMEPAGE))); }

void TAboutBox::mailurlClick() { m_open(MailUrl()); }

QUrl TAboutBox::MailUrl() {
    const QByteArray subject =
        QUrl::toPercentEncoding(QStringLiteral("\"棋譜ファイル変換について\""));
    return QUrl::fromEncoded("mailto:" + QByteArray(MORVANE_MAIL) + "?Subject=" + subject,
                             QUrl::StrictMode);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_ui->hpurl) {
            hpurlClick();
            return true;
        }
        if (watched == m_ui->mailurl) {
            mailurlClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
