#include "ui/application.h"

#include "ui/error_guard.h"
#include "ui/page_preview.h"

namespace zorvan::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Zorvan"));
    UseGreekPagePreviews(this);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException(activeWindow());
        return true;
    }
}

}  // namespace zorvan::ui
