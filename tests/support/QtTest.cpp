#include "tests/support/QtTest.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

void Click(const QObject& parent, const char* name) {
    auto* button = Child<QAbstractButton>(parent, name);
    if (!button->isEnabled()) {
        throw std::runtime_error(std::string(name) + " is disabled");
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

void WhenModalOpens(std::function<void(QWidget*)> answer) {
    // Polls until the modal widget is there, since it opens inside the handler under test.
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}
