#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>
#include <memory>

namespace Ui {
class TAboutBox;
}

// The About box: the program's name, version and maker, the disclaimer, and two links that open
// the maker's homepage and a mail to the maker through the desktop.
class TAboutBox : public QDialog {
public:
    // open hands a link to the desktop; by default QDesktopServices::openUrl.
    explicit TAboutBox(QWidget* parent = nullptr, std::function<void(const QUrl&)> open = {});
    ~TAboutBox() override;

    void hpurlClick();
    void mailurlClick();

    // The address mailurlClick opens: "mailto:", the address, "?Subject=" and the quoted subject,
    // percent-encoded in UTF-8.
    static QUrl MailUrl();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TAboutBox> m_ui;
    std::function<void(const QUrl&)> m_open;
};
