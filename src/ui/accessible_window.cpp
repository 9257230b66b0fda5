#include "ui/accessible_window.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace zorvan::ui {
namespace {

constexpr const char* kReadAsWindow = "zorvanReadAsWindow";

QAccessibleInterface* WindowInterface(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType() || !object->property(kReadAsWindow).toBool())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

void ReadAsWindow(QWidget* window) {
    static const bool kFactoryInstalled = [] {
        QAccessible::installFactory(WindowInterface);
        return true;
    }();
    (void)kFactoryInstalled;
    window->setProperty(kReadAsWindow, true);
}

}  // namespace zorvan::ui
