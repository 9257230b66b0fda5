#include "windows/memory_window.h"

namespace zorvan::windows {

TMemForm::TMemForm(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent), workspace_(workspace), forms_(forms) {
    setObjectName("MemForm");
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Μνήμη 6502"));
    setFixedSize(771, 491);
}

}  // namespace zorvan::windows
