#include "windows/step_window.h"

namespace zorvan::windows {

TStep::TStep(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent), workspace_(workspace), forms_(forms) {
    setObjectName("Step");
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Βηματική Εκτέλεση"));
    resize(409, 234);
}

}  // namespace zorvan::windows
