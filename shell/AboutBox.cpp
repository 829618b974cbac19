#include "shell/AboutBox.h"

#include "ui_AboutBox.h"

#include "shell/Placement.h"
#include "shell/Version.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

TAboutBox::TAboutBox(QWidget* parent, std::function<void(const QUrl&)> open)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAboutBox>()), m_open(std::move(open)) {
    if (!m_open) {
        m_open = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    }
    m_ui->setupUi(this);
    setFixedSize(size());
    m_ui->Label2->setText(QStringLiteral("Ver") + QString::fromUtf8(MORVANE_VERSION));
    m_ui->Label3->setText(QString::fromUtf8(MORVANE_MAKER));
    m_ui->hpurl->setText(QString::fromUtf8(MORVANE_HOMEPAGE));
    m_ui->mailurl->setText(QString::fromUtf8(MORVANE_MAIL));
    m_ui->hpurl->installEventFilter(this);
    m_ui->mailurl->installEventFilter(this);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    // Centred on the screen, not over the window that opens it.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        const TPoint corner = Centred({0, 0, frameGeometry().width(), frameGeometry().height()},
                                      {area.x(), area.y(), area.width(), area.height()});
        move(corner.x, corner.y);
    }
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
