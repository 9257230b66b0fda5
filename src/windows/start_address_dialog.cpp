#include "windows/start_address_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/run_command.h"
#include "app/step_session.h"
#include "grid/workspace.h"
#include "text/hex_text.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/machine_host_adapter.h"
#include "windows/main_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/upper_case_validator.h"

namespace zorvan::windows {

StartAddressDialog::StartAddressDialog(grid::Workspace& workspace, ApplicationWindows& windows,
                                       QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      workspace_(workspace),
      windows_(windows) {
    setObjectName(QStringLiteral("startAddressDialog"));
    setWindowTitle(QStringLiteral("Έναρξη"));
    setFixedSize(180, 100);

    auto* startAddressLabel = new QLabel(QStringLiteral("Μετρητής Προγράμματος"), this);
    startAddressLabel->setObjectName(QStringLiteral("startAddressLabel"));
    startAddressLabel->setGeometry(12, 8, 160, 20);

    startAddressEdit_ = new QLineEdit(QStringLiteral("0000"), this);
    startAddressEdit_->setObjectName(QStringLiteral("startAddressEdit"));
    startAddressEdit_->setMaxLength(4);
    MakeUpperCase(startAddressEdit_);
    startAddressEdit_->setGeometry(12, 32, 60, 24);
    startAddressEdit_->installEventFilter(this);
    startAddressLabel->setBuddy(startAddressEdit_);

    auto* okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(12, 66, 75, 25);
    okButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &StartAddressDialog::AcceptStartAddress);
}

bool StartAddressDialog::event(QEvent* event) {
    if (frontWatch_.ComesToFront(*event)) SelectStartAddress();
    return QDialog::event(event);
}

void StartAddressDialog::SelectStartAddress() {
    startAddressEdit_->setFocus();
    // The last address comes up selected, so that typing a new one replaces it.
    startAddressEdit_->selectAll();
}

bool StartAddressDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == startAddressEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AcceptStartAddress();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StartAddressDialog::AcceptStartAddress() {
    frontWatch_.WhileBoxOpen([this] {
        ui::Guard(this, [this] {
            // 0000 is never a start address: Ok does nothing then.
            if (app::AcceptsStartAddress(ui::ToStdString(startAddressEdit_->text()))) accept();
        });
    });
}

void StartAddressDialog::RunProgram() {
    // Ready before the dialog is up, whenever its activation arrives: typing replaces the address.
    SelectStartAddress();
    if (exec() != QDialog::Accepted) {
        app::ReportRunCancelled(workspace_);
        windows_.mainWindow->RefreshFromWorkspace();
        return;
    }
    const int start = app::StartAddressOf(ui::ToStdString(startAddressEdit_->text()));
    // The run changes the machine past what the step window's history could step back over.
    workspace_.EndHistory(std::string(app::kEndedByRun));
    MachineHostAdapter host(windows_);
    app::RunCommand run(workspace_, host, start, &passes_);

    {
        const ConsoleWindow::RunBurst consoleBurst(*windows_.consoleWindow);
        RunToEnd(run, stopWindowDelayMs, windows_.mainWindow.get());
    }
    run.Report();
    // Run again goes on from where the breakpoint stopped the program.
    if (run.AtBreakpoint())
        startAddressEdit_->setText(ui::ToQString(text::FormatHex4(workspace_.machine.PC)));
    windows_.mainWindow->RefreshFromWorkspace();
    RegisterWindow* registers = windows_.registerWindow;
    registers->ShowRegisters();
    registers->show();
    registers->raise();
    registers->activateWindow();
}

}  // namespace zorvan::windows
