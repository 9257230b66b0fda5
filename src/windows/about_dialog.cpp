#include "windows/about_dialog.h"

namespace zorvan::windows {

TAbout::TAbout(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QDialog(parent), workspace_(workspace), forms_(forms) {
    setObjectName("About");

    setWindowTitle(QStringLiteral("About"));
    setFixedSize(250, 153);
    move(484, 281);
}

}  // namespace zorvan::windows
