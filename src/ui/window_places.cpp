#include "ui/window_places.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QRect>
#include <QScreen>
#include <QSettings>

#include "app/window_places.h"

namespace zorvan::ui {
namespace {

QString KeyOf(const QWidget* window) {
    return QStringLiteral("windows/") + window->objectName();
}

QSettings Settings() {
    return QSettings(QSettings::UserScope, QStringLiteral("Zorvan"), QStringLiteral("Zorvan"));
}

bool Resizable(const QWidget* window) {
    return window->minimumSize() != window->maximumSize();
}

class PlaceKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Hide && !window->isMinimized()) {
            Settings().setValue(KeyOf(window), QRect(window->pos(), window->size()));
        }
        return false;
    }
};

}  // namespace

void RememberPlace(QWidget* window) {
    const QVariant stored = Settings().value(KeyOf(window));
    if (stored.canConvert<QRect>() && stored.toRect().isValid()) {
        const QRect rect = stored.toRect();
        // Never so small that a control is cut off: a window laid out by hand keeps at least the
        // size it is built with, in case an older version kept its place before it grew.
        const QSize floor =
            window->layout() != nullptr ? window->minimumSizeHint() : window->size();
        const QSize size = Resizable(window) ? rect.size().expandedTo(floor) : window->size();
        std::vector<app::WindowPlace> screens;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect free = screen->availableGeometry();
            screens.push_back({free.x(), free.y(), free.width(), free.height()});
        }
        const app::WindowPlace place =
            app::OnScreen({rect.x(), rect.y(), size.width(), size.height()}, screens);
        if (Resizable(window)) window->resize(place.width, place.height);
        window->move(place.x, place.y);
    }
    window->installEventFilter(new PlaceKeeper(window));
}

}  // namespace zorvan::ui
