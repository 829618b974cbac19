// Linked with the window program's own main (shell/main.cpp) into morvane_driven: the program as a
// user starts it, but that once its main window shows, the button that MORVANE_CLICK names is
// clicked, as a user would click it. Lets a test start a run in the real program and end the
// program during it.

#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace {

void ClickWhenShown() {
    const QString button = qEnvironmentVariable("MORVANE_CLICK");
    if (button.isEmpty()) {
        return;
    }
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [poll, button] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* target = window->findChild<QPushButton*>(button);
            if (target != nullptr && window->isVisible() && target->isEnabled()) {
                poll->stop();
                target->click();
                return;
            }
        }
    });
    poll->start(10);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(ClickWhenShown)
