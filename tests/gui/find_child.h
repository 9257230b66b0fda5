#pragma once
// Finds a window's widget, menu or action by its Qt object name, which says what it is
// ("assembleAction", "nextButton"). A name that is not there ends the test run at once. And what
// every window test does with them: a window brought to the front, the main window's message.

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <QTest>
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

// Brings the window to the front; after another window first, it comes back as a click on it does.
inline void ShowActive(QWidget* window, bool afterAnother = false) {
    QWidget other;
    if (afterAnother) ShowActive(&other);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// The main window's message area: its colour and text, or nothing when it is empty.
inline QString ShownMessage(const QObject* mainWindow) {
    const auto* area = Child<QPlainTextEdit>(mainWindow, "messageArea");
    const QString text = area->toPlainText();
    return text.isEmpty() ? text : area->palette().text().color().name() + ' ' + text;
}
