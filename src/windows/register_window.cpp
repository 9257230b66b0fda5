#include "windows/register_window.h"

namespace zorvan::windows {

TReg_Form::TReg_Form(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent), workspace_(workspace), forms_(forms) {
    setObjectName("Reg_Form");
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Καταχωρητές"));
    resize(297, 77);
}

}  // namespace zorvan::windows
