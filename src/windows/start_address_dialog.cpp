#include "windows/start_address_dialog.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "app/run_command.h"
#include "grid/workspace.h"
#include "text/hex_text.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/machine_host_adapter.h"
#include "windows/main_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"
#include "windows/upper_case_validator.h"

namespace zorvan::windows {

namespace {

constexpr std::int64_t kInstructionsPerCheck = 20'000;

}  // namespace

Tpr_start::Tpr_start(grid::Workspace& workspace, Forms& forms, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      workspace_(workspace),
      forms_(forms) {
    setObjectName(QStringLiteral("pr_start"));
    setWindowTitle(QStringLiteral("Έναρξη"));
    setFixedSize(180, 100);

    Label1 = new QLabel(QStringLiteral("Μετρητής Προγράμματος"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 8, 160, 20);

    Edit1 = new QLineEdit(QStringLiteral("0000"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(4);
    MakeUpperCase(Edit1);
    Edit1->setGeometry(12, 32, 60, 24);
    Edit1->installEventFilter(this);
    Label1->setBuddy(Edit1);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(12, 66, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tpr_start::Button1Click);
}

bool Tpr_start::event(QEvent* event) {
    if (frontWatch_.ComesToFront(*event)) FormActivate();
    return QDialog::event(event);
}

void Tpr_start::FormActivate() {
    Edit1->setFocus();
    // The last address comes up selected, so that typing a new one replaces it.
    Edit1->selectAll();
}

bool Tpr_start::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button1Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tpr_start::Button1Click() {
    frontWatch_.WhileBoxOpen([this] {
        ui::Guard(this, [this] {
            // 0000 is never a start address: Ok does nothing then.
            if (app::AcceptsStartAddress(ui::ToStdString(Edit1->text()))) accept();
        });
    });
}

void Tpr_start::RunProgram() {
    // Ready before the dialog is up, whenever its activation arrives: typing replaces the address.
    FormActivate();
    if (exec() != QDialog::Accepted) {
        app::ReportRunCancelled(workspace_);
        forms_.Form1->RefreshFromWorkspace();
        return;
    }
    const int start = app::StartAddressOf(ui::ToStdString(Edit1->text()));
    // The run changes the machine past what the step window's history could step back over.
    workspace_.EndHistory();
    MachineHostAdapter host(forms_);
    app::RunCommand run(workspace_, host, start);

    // A short run ends here without any further window.
    QElapsedTimer clock;
    clock.start();
    std::optional<TConsole::RunBurst> consoleBurst(std::in_place, *forms_.Console);
    while (run.Slice(kInstructionsPerCheck) == cpu::RunEnd::kRunning) {
        if (clock.elapsed() >= stopWindowDelayMs) {
            RunStopWindow stopWindow(run, forms_.Form1.get());
            stopWindow.exec();
            if (run.End() == cpu::RunEnd::kRunning) run.Stop();
            break;
        }
    }
    consoleBurst.reset();
    run.Report();
    // Run again goes on from where the breakpoint stopped the program.
    if (run.AtBreakpoint()) Edit1->setText(ui::ToQString(text::FormatHex4(workspace_.machine.PC)));
    forms_.Form1->RefreshFromWorkspace();
    TReg_Form* registers = forms_.Reg_Form.get();
    registers->ShowRegisters();
    registers->show();
    registers->raise();
    registers->activateWindow();
}

}  // namespace zorvan::windows
