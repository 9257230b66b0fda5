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

// The height of a window manager's title bar, which a window's own height leaves out: its frame
// is not known before it is shown.
constexpr int kTitleBarHeight = 32;

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
    std::vector<app::WindowPlace> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect free = screen->availableGeometry();
        screens.push_back({free.x(), free.y(), free.width(), free.height()});
    }
    const QVariant stored = Settings().value(KeyOf(window));
    if (stored.canConvert<QRect>() && stored.toRect().isValid()) {
        const QRect rect = stored.toRect();
        // Never so small that a control is cut off: a window laid out by hand keeps at least the
        // size it is built with, in case an older version kept its place before it grew.
        const QSize floor =
            window->layout() != nullptr ? window->minimumSizeHint() : window->size();
        const QSize size = Resizable(window) ? rect.size().expandedTo(floor) : window->size();
        const app::WindowPlace place =
            app::OnScreen({rect.x(), rect.y(), size.width(), size.height()}, screens);
        if (Resizable(window)) window->resize(place.width, place.height);
        window->move(place.x, place.y);
    } else if (window->testAttribute(Qt::WA_Moved)) {
        // The place it is built with moved, title bar and all, wholly onto a smaller screen that
        // holds it: the main window's message area below a 768-pixel screen's edge would hide
        // every error.
        const app::WindowPlace place = app::WhollyOnScreen(
            {window->x(), window->y(), window->width(), window->height() + kTitleBarHeight},
            screens);
        window->move(place.x, place.y);
    }
    window->installEventFilter(new PlaceKeeper(window));
}

}  // namespace zorvan::ui
