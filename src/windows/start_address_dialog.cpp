#include "windows/start_address_dialog.h"

namespace zorvan::windows {

Tpr_start::Tpr_start(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QDialog(parent), workspace_(workspace), forms_(forms) {
    setObjectName("pr_start");

    setWindowTitle(QStringLiteral("Έναρξη"));
    resize(200, 90);
}

}  // namespace zorvan::windows
