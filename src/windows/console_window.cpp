#include "windows/console_window.h"

namespace zorvan::windows {

TConsole::TConsole(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent), workspace_(workspace), forms_(forms) {
    setObjectName("Console");
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Κονσόλα"));
    resize(435, 405);
    move(387, 124);
}

}  // namespace zorvan::windows
