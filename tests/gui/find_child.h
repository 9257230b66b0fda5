#pragma once
// Finds a window's widget, menu or action by its Qt object name, which says what it is
// ("assembleAction", "nextButton"). A name that is not there ends the test run at once.

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

template <typename T>
T* Child(const QObject* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        qFatal("%s has no %s named %s", qPrintable(window->objectName()),
               T::staticMetaObject.className(), name);
    return child;
}

template <typename T, typename Window>
T* Child(const std::unique_ptr<Window>& window, const char* name) {
    return Child<T>(window.get(), name);
}

// The register window's twelve fields in field order: PC, N V B D I Z C, AC, XR, YR, SP (not
// the return address, which is only shown).
inline QList<QLineEdit*> RegisterFields(const QObject* registerWindow) {
    QList<QLineEdit*> fields = registerWindow->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
    fields.removeIf([](const QLineEdit* field) { return field->isReadOnly(); });
    return fields;
}
