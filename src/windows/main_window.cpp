#include "windows/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/breakpoints.h"
#include "app/line_editing.h"
#include "asm/assembly_pass.h"
#include "text/cp1253.h"
#include "text/hex_text.h"
#include "ui/error_guard.h"
#include "ui/grid_key_event.h"
#include "ui/message_boxes.h"
#include "ui/program_grid_view.h"
#include "ui/program_printer.h"
#include "ui/qt_text.h"
#include "windows/about_dialog.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/insert_lines_dialog.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace zorvan::windows {

namespace {

const QString kProgramFilter = QStringLiteral("Zorvan (*.zrv)");
const QString kTextFilter = QStringLiteral("Αρχείο Κειμένου (*.txt)");

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void GreekFileDialogLabels(QFileDialog* dialog, const QString& acceptText) {
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setLabelText(QFileDialog::LookIn, QStringLiteral("Αναζήτηση σε:"));
    dialog->setLabelText(QFileDialog::FileName, QStringLiteral("Όνομα αρχείου:"));
    dialog->setLabelText(QFileDialog::FileType, QStringLiteral("Τύπος αρχείων:"));
    dialog->setLabelText(QFileDialog::Accept, acceptText);
    dialog->setLabelText(QFileDialog::Reject, QStringLiteral("Άκυρο"));
    dialog->setNameFilters({kProgramFilter, kTextFilter});
    dialog->selectNameFilter(kProgramFilter);
    // The side list wide enough for "Υπολογιστής" whole.
    if (auto* sides = dialog->findChild<QSplitter*>(QStringLiteral("splitter"))) {
        sides->setSizes({120, 400});
    }
}

}  // namespace

TForm1::TForm1(grid::Workspace& workspace, Forms& forms, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace), forms_(forms), flows_(workspace, *this) {
    setObjectName(QStringLiteral("Form1"));
    // The window's small font: the six captions fit their 70-pixel columns.
    QFont windowFont = font();
    windowFont.setPixelSize(11);
    setFont(windowFont);
    chooseOpenFile = [this] { return ExecuteOpenDialog(); };
    chooseSaveFile = [this] { return ExecuteSaveDialog(); };

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    StringGrid1 = new ui::ProgramGridView(workspace_.grid, client);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Πρόγραμμα"));
    StringGrid1->Editor()->keyHandler = [this](QKeyEvent* event) { StringGrid1Key(event); };
    connect(StringGrid1, &ui::ProgramGridView::breakpointMarginClicked, this, [this](int row) {
        workspace_.grid.ToggleBreakpoint(row);
        RefreshFromWorkspace();
    });
    connect(StringGrid1, &ui::ProgramGridView::lineClickedWhileDisabled, this, [this](int row) {
        workspace_.grid.SetRow(row);
        RefreshFromWorkspace();
    });
    layout->addWidget(StringGrid1, 1);

    Label1 = new QLabel(QStringLiteral("Debugger"), client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFixedHeight(13);
    layout->addWidget(Label1);

    Memo1 = new QPlainTextEdit(client);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Μηνύματα"));
    Memo1->setReadOnly(true);
    Memo1->setFixedHeight(75);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFocusPolicy(Qt::NoFocus);
    QFont memoFont = Memo1->font();
    memoFont.setBold(true);
    memoFont.setPixelSize(16);
    Memo1->setFont(memoFont);
    layout->addWidget(Memo1);
    setCentralWidget(client);

    CreateMenu();
    CreateDialogs();
    resize(496, 601);
    move(318, 180);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    N1 = AddMenu(bar, "N1", QStringLiteral("&Αρχείο"));
    N2 = AddItem(N1, "N2", QStringLiteral("&Δημιουργία"));
    N3 = AddItem(N1, "N3", QStringLiteral("Ά&νοιγμα"));
    N10 = AddItem(N1, "N10", QStringLiteral("Αποθήκευ&ση"));
    N24 = AddItem(N1, "N24", QStringLiteral("&Εκτύπωση"));
    N5 = N1->addSeparator();
    N5->setObjectName(QStringLiteral("N5"));
    N6 = AddItem(N1, "N6", QStringLiteral("Έ&ξοδος"));

    N7 = AddMenu(bar, "N7", QStringLiteral("&Πλέγμα"));
    N8 = AddItem(N7, "N8", QStringLiteral("Ει&σαγωγή Γραμμής"), QKeySequence(Qt::Key_Insert));
    N4 = AddItem(N7, "N4", QStringLiteral("Εισαγωγή Γραμμών"));
    N9 = AddItem(N7, "N9", QStringLiteral("Διαγραφή Γραμμής"),
                 QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    N17 = AddItem(N7, "N17", QStringLiteral("&Καθαρισμός Πλέγματος"));

    N13 = AddMenu(bar, "N13", QStringLiteral("&Εκτέλεση"));
    N18 = AddItem(N13, "N18", QStringLiteral("&Συμβολομετάφραση"), QKeySequence(Qt::Key_F8));
    N15 = AddItem(N13, "N15", QStringLiteral("Ε&κτέλεση"), QKeySequence(Qt::Key_F9));
    N16 = AddItem(N13, "N16", QStringLiteral("Β&ηματική Εκτέλεση"), QKeySequence(Qt::Key_F10));
    N25 = AddItem(N13, "N25", QStringLiteral("Σημείο Διακοπής"), QKeySequence(Qt::Key_F5));

    N19 = AddMenu(bar, "N19", QStringLiteral("&Εμφάνιση"));
    N20 =
        AddItem(N19, "N20", QStringLiteral("Εμ&φάνιση Μνήμης"), QKeySequence(Qt::CTRL | Qt::Key_F));
    N21 = AddItem(N19, "N21", QStringLiteral("Καθαρισμός Μνήμης"));
    N14 = AddItem(N19, "N14", QStringLiteral("Εμφάνιση &Καταχωρητών"),
                  QKeySequence(Qt::CTRL | Qt::Key_K));
    N22 = AddItem(N19, "N22", QStringLiteral("Καθαρισμός Καταχωρητών"));
    N23 = AddItem(N19, "N23", QStringLiteral("Εμφάνιση Κονσό&λας"));

    N11 = AddMenu(bar, "N11", QStringLiteral("Βοήθεια"));
    N65021 =
        AddItem(N11, "N65021", QStringLiteral("Βοήθεια για τον 6502"), QKeySequence(Qt::Key_F1));
    N12 = AddItem(N11, "N12", QStringLiteral("Περί της Εφαρμογής..."));

    const std::pair<QAction*, void (TForm1::*)()> handlers[] = {
        {N2, &TForm1::N2Click},   {N3, &TForm1::N3Click},   {N10, &TForm1::N10Click},
        {N24, &TForm1::N24Click}, {N6, &TForm1::N6Click},   {N8, &TForm1::N8Click},
        {N4, &TForm1::N4Click},   {N9, &TForm1::N9Click},   {N17, &TForm1::N17Click},
        {N18, &TForm1::N18Click}, {N15, &TForm1::N15Click}, {N16, &TForm1::N16Click},
        {N20, &TForm1::N20Click}, {N21, &TForm1::N21Click}, {N14, &TForm1::N14Click},
        {N22, &TForm1::N22Click}, {N23, &TForm1::N23Click}, {N65021, &TForm1::N65021Click},
        {N12, &TForm1::N12Click}, {N25, &TForm1::N25Click},
    };
    for (const auto& [action, handler] : handlers) {
        connect(action, &QAction::triggered, this, handler);
    }
}

void TForm1::CreateDialogs() {
    OpenDialog1 = new QFileDialog(this, QStringLiteral("Άνοιγμα Αρχείου Προσομοιωτή"));
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    GreekFileDialogLabels(OpenDialog1, QStringLiteral("Άνοιγμα"));
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setDefaultSuffix(QStringLiteral("zrv"));  // "count" opens count.zrv

    SaveDialog1 = new QFileDialog(this, QStringLiteral("Αποθήκευση αρχείου προσομοιωτή"));
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    GreekFileDialogLabels(SaveDialog1, QStringLiteral("Αποθήκευση"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    // The question before replacing is ours, asked after the extension is added.
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite);
    SaveDialog1->selectFile(QStringLiteral("Zorvan1"));
}

void TForm1::FormCreate() {
    // The workspace starts as the window first shows it: header, one line, cursor on its
    // address, the execution commands off.
    workspace_.executionEnabled = false;
    RefreshFromWorkspace();
}

void TForm1::RefreshFromWorkspace() {
    setWindowTitle(ui::ToQString(workspace_.caption));
    N18->setEnabled(workspace_.executionEnabled);
    N15->setEnabled(workspace_.executionEnabled);
    N16->setEnabled(workspace_.executionEnabled);
    ShowMessageArea();
    StringGrid1->SyncFromGrid();
}

void TForm1::ShowMessageArea() {
    const grid::MessageArea& message = workspace_.message;
    Label1->setEnabled(message.headingEnabled);
    Memo1->setEnabled(message.textEnabled);
    Memo1->setVisible(true);
    QPalette palette = Memo1->palette();
    const QColor colour = message.tone == grid::Tone::kNotice ? QColor(0x00, 0x00, 0xFF)
                                                                       : QColor(0xFF, 0x00, 0x00);
    palette.setColor(QPalette::Active, QPalette::Text, colour);
    palette.setColor(QPalette::Inactive, QPalette::Text, colour);
    Memo1->setPalette(palette);
    const QString text = ui::ToQString(message.text);
    if (Memo1->toPlainText() != text) Memo1->setPlainText(text);
}

bool TForm1::RunCommand(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        RefreshFromWorkspace();
        ui::ShowCurrentException(this);
        RefreshFromWorkspace();
        return false;
    }
    RefreshFromWorkspace();
    return true;
}

void TForm1::StringGrid1Key(QKeyEvent* event) {
    const app::GridKey key = ui::ToGridKey(*event);
    const char32_t character = ui::TypedCharacter(*event);
    const bool cellCharacter = character != 0 && text::IsInCp1253(character);
    const int columnAtKey = workspace_.grid.Col();

    const bool finished = RunCommand([&] {
        app::GridKeyDown(workspace_, key);
        app::MoveByGridKey(workspace_, key);
        if (cellCharacter) app::GridKeyPress(workspace_, character);
    });
    if (!finished) return;
    if (!ui::IsGridMovementKey(key) && EditorTakes(key, character, columnAtKey)) {
        StringGrid1->Editor()->TypeIntoEditor(event);
    }
    app::NoteAddressAfterKey(workspace_);
    ShowMessageArea();
}

bool TForm1::EditorTakes(const app::GridKey& key, char32_t character, int columnAtKey) {
    // What the cell editor does with the key once the grid has had it.
    switch (key.code) {
        case app::kKeyEnter:
        case app::kKeyEscape:
        case app::kKeyPageUp:
        case app::kKeyPageDown:
            return false;
        case app::kKeySpace:
            // In a checked cell it committed the cell.
            return columnAtKey < grid::kAddressColumn || columnAtKey > grid::kSecondParameterColumn;
        default:
            break;
    }
    return character == 0 || character < 0x20 || text::IsInCp1253(character);
}

void TForm1::ShowWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void TForm1::N2Click() {
    RunCommand([this] { flows_.New(); });
}

void TForm1::N3Click() {
    RunCommand([this] { flows_.Open(); });
}

void TForm1::OpenNamedFile(const QString& path) {
    RunCommand([&] { flows_.OpenNamedFile(path.toStdString()); });
}

void TForm1::N10Click() {
    RunCommand([this] { flows_.Save(); });
}

void TForm1::N24Click() {
    ui::ProgramPrinter::Of(this).Print(workspace_.grid, workspace_.openDialogFileName);
}

void TForm1::N6Click() {
    bool exit = false;
    RunCommand([&] { exit = flows_.Exit(); });
    if (!exit) return;
    forms_.About->close();
    forms_.INSform->close();
    forms_.pr_start->close();
    forms_.MemForm->close();
    forms_.Reg_Form->close();
    forms_.Step->close();
    exitConfirmed_ = true;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!exitConfirmed_) {
        // The close box asks the same question as Exit: unsaved work is never dropped unasked.
        bool exit = false;
        RunCommand([&] { exit = flows_.Exit(); });
        if (!exit) {
            event->ignore();
            return;
        }
    }
    exitConfirmed_ = false;
    for (QWidget* window : std::initializer_list<QWidget*>{
             forms_.About.get(), forms_.INSform.get(), forms_.pr_start.get(), forms_.MemForm.get(),
             forms_.Reg_Form.get(), forms_.Step.get(), forms_.Console.get()}) {
        if (window != nullptr) window->close();
    }
    event->accept();
}

void TForm1::N8Click() {
    RunCommand([this] { app::InsertLine(workspace_); });
}

void TForm1::N4Click() {
    if (forms_.INSform->exec() != TINSform::kOk) return;
    RunCommand([this] { app::InsertLines(workspace_, forms_.INSform->CountText()); });
}

void TForm1::N9Click() {
    RunCommand([this] {
        if (app::DeleteLine(workspace_) == app::DeleteLineResult::kEmptiedOnlyRowAndBeep) {
            QApplication::beep();
        }
    });
}

void TForm1::N17Click() {
    RunCommand([this] { app::ClearGrid(workspace_); });
}

void TForm1::N18Click() {
    int lineInProgress = 0;
    const bool finished = RunCommand([&] {
        workspace_.EndHistory();
        const assembler::AssemblyResult result =
            assembler::Assemble(workspace_.grid, workspace_.machine, &lineInProgress);
        const QString text = ui::ToQString(result.text);
        switch (result.kind) {
            case assembler::AssemblyResult::Kind::kSummary:
                if (ui::AskYesNo(this, text, QMessageBox::Information)) {
                    ShowWindow(forms_.MemForm.get());
                }
                return;
            case assembler::AssemblyResult::Kind::kWarning:
                ui::ShowMessage(this, text, QMessageBox::Warning);
                break;
            case assembler::AssemblyResult::Kind::kError:
                ui::ShowMessage(this, text, QMessageBox::Critical);
                break;
        }
        // The student lands on the line at fault, however far down it is.
        workspace_.grid.SetCurrent(result.column, result.row);
    });
    if (!finished && lineInProgress > 0) {
        // A cell that is not hexadecimal: its address, or else its parameter.
        grid::ProgramGrid& grid = workspace_.grid;
        const bool addressIsHex =
            text::IsHexText(grid.Cell(grid::kAddressColumn, lineInProgress)) &&
            !grid.Cell(grid::kAddressColumn, lineInProgress).empty();
        grid.SetCurrent(addressIsHex ? grid::kFirstParameterColumn : grid::kAddressColumn,
                        lineInProgress);
        RefreshFromWorkspace();
    }
}

void TForm1::N15Click() {
    RunCommand([this] { forms_.pr_start->RunProgram(); });
}

void TForm1::N16Click() {
    RunCommand([this] {
        N22Click();
        ShowWindow(forms_.Step.get());
    });
}

void TForm1::N20Click() {
    ShowWindow(forms_.MemForm.get());
}

void TForm1::N25Click() {
    RunCommand([this] { app::ToggleBreakpoint(workspace_); });
}

void TForm1::N21Click() {
    workspace_.EndHistory();
    workspace_.machine.ClearMemory();
}

void TForm1::N14Click() {
    ShowWindow(forms_.Reg_Form.get());
}

void TForm1::N22Click() {
    workspace_.EndHistory();
    forms_.Reg_Form->ClearRegisters();
}

void TForm1::N23Click() {
    ShowWindow(forms_.Console.get());
}

void TForm1::N65021Click() {
    HelpWindow::Open(this);
}

void TForm1::N12Click() {
    forms_.About->exec();
}

app::SaveAnswer TForm1::AskYesNo(std::string_view question) {
    switch (ui::AskYesNoOrCancel(this, ui::ToQString(question), QMessageBox::Warning)) {
        case 1:
            return app::SaveAnswer::kYes;
        case 0:
            return app::SaveAnswer::kNo;
        default:
            return app::SaveAnswer::kCancel;
    }
}

std::optional<std::string> TForm1::ChooseOpenFile() {
    return chooseOpenFile();
}

std::optional<std::string> TForm1::ChooseSaveFile() {
    return chooseSaveFile();
}

void TForm1::ShowWarning(std::string_view text) {
    ui::ShowMessage(this, ui::ToQString(text), QMessageBox::Warning);
}

bool TForm1::AskSaveAnyway(std::string_view text) {
    return ui::AskYesNo(this, ui::ToQString(text), QMessageBox::Warning);
}

std::optional<std::string> TForm1::ExecuteOpenDialog() {
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = OpenDialog1->selectedFiles().front();
    OpenDialog1->selectFile(path);
    return ui::ToStdString(path);
}

std::optional<std::string> TForm1::ExecuteSaveDialog() {
    for (;;) {
        if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        QString path = SaveDialog1->selectedFiles().front();
        if (QFileInfo(path).suffix().isEmpty()) {
            path += SaveDialog1->selectedNameFilter() == kTextFilter ? QStringLiteral(".txt")
                                                                     : QStringLiteral(".zrv");
        }
        SaveDialog1->selectFile(path);
        if (QFileInfo::exists(path) &&
            !ui::AskYesNo(this, QStringLiteral("Το αρχείο «%1» υπάρχει ήδη.\nΘέλετε να το "
                                               "αντικαταστήσετε;")
                                    .arg(QDir::toNativeSeparators(path)))) {
            continue;
        }
        return ui::ToStdString(path);
    }
}

}  // namespace zorvan::windows
