#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QString>

#include <functional>
#include <stdexcept>
#include <string>

// The child of parent with the given objectName and type; throws, naming the widget, when there
// is none, so a test that looks for a missing widget fails with its name.
template <typename T>
T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        throw std::runtime_error(std::string("no widget named ") + name);
    }
    return child;
}

// Clicks the named button with the left mouse button as a user would; throws, naming it, when it
// is disabled, since a user could not click it.
void Click(const QObject& parent, const char* name);

// Runs answer on the next modal widget that opens (a message box, a dialog) once it is shown,
// from the event loop of that widget.
void WhenModalOpens(std::function<void(QWidget*)> answer);
