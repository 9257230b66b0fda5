#include "windows/step_window.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "cpu/interpreter.h"
#include "grid/workspace.h"
#include "ui/program_grid_view.h"
#include "ui/qt_text.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"

namespace zorvan::windows {

namespace {

constexpr int kColumnWidths[app::kStepGridColumns] = {130, 61, 61, 58, 58};
constexpr int kRowHeight = 22;
constexpr std::int64_t kInstructionsPerCheck = 20'000;

}  // namespace

TStep::TStep(grid::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent, Qt::Window),
      workspace_(workspace),
      forms_(forms),
      host_(forms),
      session_(workspace, host_, *this) {
    setObjectName(QStringLiteral("Step"));
    setWindowTitle(QStringLiteral("Βηματική Εκτέλεση"));

    Label2 = new QLabel(QStringLiteral("Διεύθυνση Εκκίνησης"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, 12, 130, 20);

    Edit1 = new QLineEdit(QStringLiteral("0000"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(4);
    Edit1->setGeometry(150, 10, 60, 24);
    Edit1->installEventFilter(this);
    Label2->setBuddy(Edit1);

    Button1 = new QPushButton(QStringLiteral("Εκκίνηση"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(16, 44, 90, 26);
    Button2 = new QPushButton(QStringLiteral("Επόμενο"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(116, 44, 90, 26);
    Button3 = new QPushButton(QStringLiteral("Stop"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(216, 44, 90, 26);
    for (QPushButton* button : {Button1, Button2, Button3}) button->setAutoDefault(false);

    StepGrid = new QTableWidget(app::kStepGridRows, app::kStepGridColumns, this);
    StepGrid->setObjectName(QStringLiteral("StepGrid"));
    StepGrid->setAccessibleName(QStringLiteral("Βήματα εκτέλεσης"));
    StepGrid->horizontalHeader()->setVisible(false);
    StepGrid->verticalHeader()->setVisible(false);
    StepGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StepGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StepGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int width = 2;
    // The captions' column is widened when the platform's font needs more room for them.
    const QFontMetrics metrics(StepGrid->font());
    const int captionWidth =
        std::max(metrics.horizontalAdvance(ui::ToQString(app::kExecutedCaption)),
                 metrics.horizontalAdvance(ui::ToQString(app::kToExecuteCaption))) +
        12;
    for (int column = 0; column < app::kStepGridColumns; ++column) {
        const int columnWidth =
            column == 0 ? std::max(kColumnWidths[0], captionWidth) : kColumnWidths[column];
        StepGrid->setColumnWidth(column, columnWidth);
        width += columnWidth;
        for (int row = 0; row < app::kStepGridRows; ++row) {
            auto* item = new QTableWidgetItem;
            if (column == 0) {
                // The fixed column of captions.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette().button());
            }
            // A screen reader says which instruction and which of its parts a cell holds.
            if (column > 0) {
                QString caption =
                    ui::ToQString(row == 0 ? app::kExecutedCaption : app::kToExecuteCaption);
                caption.chop(1);  // the colon
                item->setData(Qt::AccessibleDescriptionRole,
                              caption + QStringLiteral(" — ") +
                                  ui::ToQString(workspace.grid.Cell(column, 0)));
            }
            StepGrid->setItem(row, column, item);
        }
    }
    for (int row = 0; row < app::kStepGridRows; ++row) StepGrid->setRowHeight(row, kRowHeight);
    StepGrid->setGeometry(16, 80, width, kRowHeight * app::kStepGridRows + 2);
    // The window keeps its 409 pixels while a widened captions' column still leaves a margin.
    resize(std::max(409, width + 16 + 8), 234);

    Label1 = new QLabel(QString(26, QLatin1Char('+')), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    QFont status = Label1->font();
    status.setPixelSize(16);
    status.setBold(true);
    Label1->setFont(status);
    QPalette navy = Label1->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    Label1->setPalette(navy);
    Label1->setGeometry(16, 136, 377, 80);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(Button1, &QPushButton::clicked, this, &TStep::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TStep::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TStep::Button3Click);

    CreateDebuggerControls();

    // FormCreate: the captions of the fixed column; the rest is FormShow's.
    session_.FormShow();
    ShowState();
}

void TStep::ShowState() {
    const app::StepWindowState& state = session_.State();
    if (Edit1->text() != ui::ToQString(state.startAddress)) {
        Edit1->setText(ui::ToQString(state.startAddress));
    }
    for (int row = 0; row < app::kStepGridRows; ++row) {
        for (int column = 0; column < app::kStepGridColumns; ++column) {
            StepGrid->item(row, column)
                ->setText(ui::ToQString(
                    state.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
        }
    }
    Label1->setText(ui::ToQString(state.status));
    Label1->setVisible(state.statusVisible);
    Button2->setVisible(state.nextVisible);
    Button2->setEnabled(state.nextEnabled);
    Button3->setVisible(state.stopVisible);
    Button3->setEnabled(state.stopEnabled);
    for (QPushButton* button : {ContinueButton, StepOverButton, RunToCursorButton}) {
        button->setVisible(state.nextVisible);
        button->setEnabled(state.nextEnabled);
    }
    BackButton->setVisible(state.nextVisible);
    SentenceLabel->setText(ui::ToQString(state.sentence));
    SentenceLabel->setVisible(state.nextVisible);
}

void TStep::CreateDebuggerControls() {
    // The console window's text, which the history keeps and puts back.
    class ConsoleMemoText : public cpu::ConsoleText {
      public:
        explicit ConsoleMemoText(Forms& forms) : forms_(forms) {}
        std::string Text() const override {
            return ui::ToStdString(forms_.Console->ConsoleMemo->toPlainText());
        }
        void SetText(const std::string& text) override {
            forms_.Console->ConsoleMemo->setPlainText(ui::ToQString(text));
        }

      private:
        Forms& forms_;
    };
    consoleText_ = std::make_unique<ConsoleMemoText>(forms_);
    session_.SetConsole(consoleText_.get());

    const int top = Label1->geometry().bottom() + 6;
    ContinueButton = new QPushButton(QStringLiteral("Συνέχεια"), this);
    ContinueButton->setObjectName(QStringLiteral("ContinueButton"));
    StepOverButton = new QPushButton(QStringLiteral("Παράκαμψη JSR"), this);
    StepOverButton->setObjectName(QStringLiteral("StepOverButton"));
    RunToCursorButton = new QPushButton(QStringLiteral("Έως τον κέρσορα"), this);
    RunToCursorButton->setObjectName(QStringLiteral("RunToCursorButton"));
    BackButton = new QPushButton(QStringLiteral("Πίσω"), this);
    BackButton->setObjectName(QStringLiteral("BackButton"));
    int x = 16;
    for (QPushButton* button : {ContinueButton, StepOverButton, RunToCursorButton, BackButton}) {
        button->setAutoDefault(false);
        const int width = std::max(90, button->sizeHint().width());
        button->setGeometry(x, top, width, 26);
        x += width + 8;
        button->hide();
    }
    SentenceLabel = new QLabel(this);
    SentenceLabel->setObjectName(QStringLiteral("SentenceLabel"));
    SentenceLabel->setWordWrap(true);
    SentenceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SentenceLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SentenceLabel->setGeometry(16, top + 34, std::max(width() - 32, x - 24), 44);
    SentenceLabel->hide();
    resize(std::max(width(), x + 8), top + 34 + 44 + 10);

    connect(ContinueButton, &QPushButton::clicked, this, &TStep::ContinueClick);
    connect(StepOverButton, &QPushButton::clicked, this, &TStep::StepOverClick);
    connect(RunToCursorButton, &QPushButton::clicked, this, &TStep::RunToCursorClick);
    connect(BackButton, &QPushButton::clicked, this, &TStep::BackClick);
}

void TStep::RunRecorded(std::unique_ptr<app::RecordedRun> (app::StepSession::*begin)(),
                        bool nextWithoutRun) {
    forms_.Form1->RunCommand([&] {
        std::unique_ptr<app::RecordedRun> run = (session_.*begin)();
        if (!run) {
            if (nextWithoutRun) session_.Next();
            return;
        }
        QElapsedTimer clock;
        clock.start();
        while (run->Slice(kInstructionsPerCheck) == cpu::RunEnd::kRunning) {
            if (clock.elapsed() >= stopWindowDelayMs) {
                RunStopWindow stopWindow(*run, forms_.Form1.get());
                stopWindow.exec();
                if (run->End() == cpu::RunEnd::kRunning) run->Stop();
                break;
            }
        }
        session_.FinishRun(*run);
    });
    ShowState();
}

void TStep::ContinueClick() {
    KeepKeyboard([this] { RunRecorded(&app::StepSession::Continue, false); });
}

void TStep::StepOverClick() {
    KeepKeyboard([this] { RunRecorded(&app::StepSession::StepOverJsr, true); });
}

void TStep::RunToCursorClick() {
    KeepKeyboard([this] { RunRecorded(&app::StepSession::RunToCursor, false); });
}

void TStep::BackClick() {
    KeepKeyboard([this] { forms_.Form1->RunCommand([this] { session_.Back(); }); });
    ShowState();
}

void TStep::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TStep::FormShow() {
    session_.FormShow();
    ShowState();
    // The window opens ready for a start address: "0000" selected, so that typing replaces it.
    Edit1->setFocus();
    Edit1->selectAll();
}

void TStep::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TStep::FormClose() {
    session_.Close();
    forms_.Form1->RefreshFromWorkspace();
}

bool TStep::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button1Click();  // which puts the focus on Next
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TStep::Button1Click() {
    session_.State().startAddress = ui::ToStdString(Edit1->text());
    KeepKeyboard([this] { forms_.Form1->RunCommand([this] { session_.Start(); }); });
    ShowState();
    if (Button2->isVisible()) Button2->setFocus();
}

void TStep::Button2Click() {
    KeepKeyboard([this] { forms_.Form1->RunCommand([this] { session_.Next(); }); });
    ShowState();
}

void TStep::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Button2->isVisible() &&
        Button2->isEnabled()) {
        Button2Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TStep::KeepKeyboard(const std::function<void()>& command) {
    QWidget* focused = QApplication::focusWidget();
    const bool here = focused != nullptr && (focused == this || isAncestorOf(focused));
    const QPointer<QWidget> keep(focused);
    const bool consoleWasVisible = forms_.Console->isVisible();
    command();
    if (!here || !isVisible()) return;
    const cpu::Machine& m = workspace_.machine;
    const std::optional<cpu::StepChange> last = workspace_.history.Last(m);
    const bool askedForAccumulator =
        last && m.Read(last->address) == 0x20 && m.PC == cpu::kAskForAccumulatorRoutine;
    if (askedForAccumulator) return;
    QWidget* control = keep && keep->isVisible() && keep->isEnabled() ? keep.data()
                       : Button2->isVisible() && Button2->isEnabled() ? Button2
                                                                      : Button1;
    const auto giveBack = [this, target = QPointer<QWidget>(control)] {
        if (!isVisible()) return;
        raise();
        activateWindow();
        if (target) target->setFocus(Qt::OtherFocusReason);
    };
    giveBack();
    if (consoleWasVisible || !forms_.Console->isVisible()) return;

    // A console shown just now takes the keyboard only once the display has mapped it, which
    // may be after this: the keyboard is taken back then, once.
    class ActivationWatch : public QObject {
      public:
        ActivationWatch(QWidget* console, std::function<void()> then)
            : QObject(console), then_(std::move(then)) {
            console->installEventFilter(this);
            QTimer::singleShot(1000, this, [this] { deleteLater(); });
        }

      protected:
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::WindowActivate && then_) {
                QTimer::singleShot(0, parent(), std::exchange(then_, nullptr));
                deleteLater();
            }
            return false;
        }

      private:
        std::function<void()> then_;
    };
    new ActivationWatch(forms_.Console.get(), giveBack);
}

void TStep::Button3Click() {
    session_.Stop();
    ShowState();
}

void TStep::SetProgramGridEnabled(bool enabled) {
    forms_.Form1->StringGrid1->setEnabled(enabled);
}

void TStep::ShowRegisterWindow() {
    // The register window comes up refilled; the focus stays here, on Next.
    TReg_Form* registers = forms_.Reg_Form.get();
    registers->ShowRegisters();
    registers->setAttribute(Qt::WA_ShowWithoutActivating, true);
    registers->show();
    registers->setAttribute(Qt::WA_ShowWithoutActivating, false);
    registers->raise();
}

void TStep::RefillRegisters() {
    forms_.Reg_Form->ShowRegisters();
}

void TStep::RedrawMemory() {
    forms_.MemForm->RedrawView();
}

void TStep::RepaintMemory() {
    forms_.MemForm->update();
}

}  // namespace zorvan::windows
