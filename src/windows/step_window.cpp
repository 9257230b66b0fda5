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
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include "cpu/interpreter.h"
#include "grid/workspace.h"
#include "ui/change_highlight.h"
#include "ui/program_grid_view.h"
#include "ui/qt_text.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/run_stop_window.h"

namespace zorvan::windows {

namespace {

constexpr int kColumnWidths[app::kStepGridColumns] = {130, 61, 61, 58, 58};
constexpr int kRowHeight = 22;

}  // namespace

StepWindow::StepWindow(grid::Workspace& workspace, ApplicationWindows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window),
      workspace_(workspace),
      windows_(windows),
      host_(windows),
      session_(workspace, host_, *this) {
    setObjectName(QStringLiteral("stepWindow"));
    setWindowTitle(QStringLiteral("Βηματική Εκτέλεση"));

    auto* startAddressLabel = new QLabel(QStringLiteral("Διεύθυνση Εκκίνησης"), this);
    startAddressLabel->setObjectName(QStringLiteral("startAddressLabel"));
    startAddressLabel->setGeometry(16, 12, 130, 20);

    startAddressEdit_ = new QLineEdit(QStringLiteral("0000"), this);
    startAddressEdit_->setObjectName(QStringLiteral("startAddressEdit"));
    startAddressEdit_->setMaxLength(4);
    startAddressEdit_->setGeometry(150, 10, 60, 24);
    startAddressEdit_->installEventFilter(this);
    startAddressLabel->setBuddy(startAddressEdit_);

    startButton_ = new QPushButton(QStringLiteral("Εκκίνηση"), this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    startButton_->setGeometry(16, 44, 90, 26);
    nextButton_ = new QPushButton(QStringLiteral("Επόμενο"), this);
    nextButton_->setObjectName(QStringLiteral("nextButton"));
    nextButton_->setGeometry(116, 44, 90, 26);
    stopButton_ = new QPushButton(QStringLiteral("Stop"), this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    stopButton_->setGeometry(216, 44, 90, 26);
    for (QPushButton* button : {startButton_, nextButton_, stopButton_})
        button->setAutoDefault(false);

    const int rowsWidth = CreateStepRows();
    // The window keeps its 409 pixels while a widened captions' column still leaves a margin.
    resize(std::max(409, rowsWidth + 16 + 8), 234);

    statusLabel_ = new QLabel(QString(26, QLatin1Char('+')), this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setWordWrap(true);
    QFont status = statusLabel_->font();
    status.setPixelSize(16);
    status.setBold(true);
    statusLabel_->setFont(status);
    QPalette navy = statusLabel_->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    statusLabel_->setPalette(navy);
    statusLabel_->setGeometry(16, 136, 377, 80);
    statusLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(startButton_, &QPushButton::clicked, this, &StepWindow::Start);
    connect(nextButton_, &QPushButton::clicked, this, &StepWindow::Next);
    connect(stopButton_, &QPushButton::clicked, this, &StepWindow::Stop);

    CreateDebuggerControls();
    // Keys and clicks anywhere in the application: arrows here move the grid's cursor, and the
    // main window hands the student back to this window while stepping.
    qApp->installEventFilter(this);

    // The captions of the fixed column stay; the rest is set each time the window opens.
    session_.ResetForNewSession();
    ShowState();
}

int StepWindow::CreateStepRows() {
    stepRows_ = new QTableWidget(app::kStepGridRows, app::kStepGridColumns, this);
    stepRows_->setObjectName(QStringLiteral("stepRows"));
    stepRows_->setAccessibleName(QStringLiteral("Βήματα εκτέλεσης"));
    stepRows_->horizontalHeader()->setVisible(false);
    stepRows_->verticalHeader()->setVisible(false);
    stepRows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stepRows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stepRows_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int width = 2;
    // The captions' column is widened when the platform's font needs more room for them.
    const QFontMetrics metrics(stepRows_->font());
    const int captionWidth =
        std::max(metrics.horizontalAdvance(ui::ToQString(app::kExecutedCaption)),
                 metrics.horizontalAdvance(ui::ToQString(app::kToExecuteCaption))) +
        12;
    for (int column = 0; column < app::kStepGridColumns; ++column) {
        const int columnWidth =
            column == 0 ? std::max(kColumnWidths[0], captionWidth) : kColumnWidths[column];
        stepRows_->setColumnWidth(column, columnWidth);
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
                                  ui::ToQString(workspace_.grid.Cell(column, 0)));
            }
            stepRows_->setItem(row, column, item);
        }
    }
    for (int row = 0; row < app::kStepGridRows; ++row) stepRows_->setRowHeight(row, kRowHeight);
    stepRows_->setGeometry(16, 80, width, kRowHeight * app::kStepGridRows + 2);
    return width;
}

void StepWindow::ShowState() {
    const app::StepWindowState& state = session_.State();
    if (startAddressEdit_->text() != ui::ToQString(state.startAddress)) {
        startAddressEdit_->setText(ui::ToQString(state.startAddress));
    }
    for (int row = 0; row < app::kStepGridRows; ++row) {
        for (int column = 0; column < app::kStepGridColumns; ++column) {
            stepRows_->item(row, column)
                ->setText(ui::ToQString(
                    state.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
        }
    }
    statusLabel_->setText(ui::ToQString(state.status));
    statusLabel_->setVisible(state.statusVisible);
    nextButton_->setVisible(state.nextVisible);
    nextButton_->setEnabled(state.nextEnabled);
    stopButton_->setVisible(state.stopVisible);
    stopButton_->setEnabled(state.stopEnabled);
    for (QPushButton* button : {continueButton_, stepOverButton_, runToCursorButton_}) {
        button->setVisible(state.nextVisible);
        button->setEnabled(state.nextEnabled);
    }
    backButton_->setVisible(state.nextVisible);
    backToBreakpointButton_->setVisible(state.nextVisible);
    for (QWidget* widget : watchWidgets_) widget->setVisible(state.nextVisible);
    sentenceLabel_->setText(ui::ToQString(state.sentence));
    sentenceLabel_->setVisible(state.nextVisible);
    for (QWidget* widget : listWidgets_) widget->setVisible(state.nextVisible);
    ShowBreakpointCount();
    ShowLists();
}

void StepWindow::ShowLists() {
    const std::vector<app::PastStepRow> steps = session_.RecentSteps();
    recentPositions_.clear();
    recentSteps_->setRowCount(static_cast<int>(steps.size()));
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
        const app::PastStepRow& step = steps[static_cast<std::size_t>(i)];
        recentPositions_.push_back(step.position);
        const QString line = step.row != 0 ? QString::number(step.row) : QStringLiteral("—");
        for (const auto& [column, text] : {std::pair(0, line), {1, ui::ToQString(step.sentence)}}) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            recentSteps_->setItem(i, column, item);
        }
    }
    if (!steps.empty()) recentSteps_->scrollToBottom();

    const std::vector<app::PinnedCellRow> cells = session_.PinnedRows();
    const int selected = pinnedCells_->currentRow();
    pinnedCells_->setRowCount(static_cast<int>(cells.size()));
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        const app::PinnedCellRow& cell = cells[static_cast<std::size_t>(i)];
        int column = 0;
        for (const std::string& text : {cell.address, cell.value, cell.character}) {
            auto* item = new QTableWidgetItem(ui::ToQString(text));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (cell.changed) item->setBackground(ui::kChangeHighlight);
            pinnedCells_->setItem(i, column++, item);
        }
    }
    if (selected >= 0 && selected < pinnedCells_->rowCount()) pinnedCells_->selectRow(selected);
    const std::string& notice = session_.State().pinNotice;
    pinNoticeLabel_->setText(ui::ToQString(notice));
}

void StepWindow::CreateWatchingControls() {
    const int top = sentenceLabel_->geometry().bottom() + 8;
    // The count of the current line's breakpoint: 1 stops at every pass.
    hitLabel_ = new QLabel(this);
    hitLabel_->setObjectName(QStringLiteral("hitCountLabel"));
    hitLabel_->move(16, top + 4);
    hitCountSpin_ = new QSpinBox(this);
    hitCountSpin_->setObjectName(QStringLiteral("hitCountSpin"));
    hitCountSpin_->setRange(1, app::BreakpointHits::kMostPasses);
    hitCountSpin_->resize(70, 24);
    hitLabel_->setBuddy(hitCountSpin_);
    hitTimesLabel_ = new QLabel(QStringLiteral("φορές"), this);
    hitTimesLabel_->setObjectName(QStringLiteral("hitCountTimesLabel"));
    hitTimesLabel_->adjustSize();

    // The latest steps, on the left.
    const int listTop = top + 34;
    constexpr int kListHeight = 170;
    auto* recentHeading =
        new QLabel(QStringLiteral("Τελευταίες εντολές (διπλό κλικ: πίσω εκεί)"), this);
    recentHeading->setObjectName(QStringLiteral("recentStepsHeading"));
    recentHeading->adjustSize();
    recentHeading->move(16, listTop);
    recentSteps_ = new QTableWidget(0, 2, this);
    recentSteps_->setObjectName(QStringLiteral("recentSteps"));
    recentSteps_->setAccessibleName(QStringLiteral("Τελευταίες εντολές"));
    recentSteps_->setHorizontalHeaderLabels({QStringLiteral("Γραμμή"), QStringLiteral("Τι έκανε")});
    recentSteps_->verticalHeader()->setVisible(false);
    recentSteps_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    recentSteps_->horizontalHeader()->setStretchLastSection(true);
    recentSteps_->setColumnWidth(0, 60);
    recentSteps_->setSelectionBehavior(QAbstractItemView::SelectRows);
    recentSteps_->setSelectionMode(QAbstractItemView::SingleSelection);
    recentSteps_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    recentSteps_->setWordWrap(false);
    recentSteps_->setGeometry(16, listTop + 20, 430, kListHeight);
    recentHeading->setBuddy(recentSteps_);
    recentSteps_->installEventFilter(this);

    // The pinned cells, on the right.
    const int pinX = recentSteps_->geometry().right() + 16;
    auto* pinHeading = new QLabel(QStringLiteral("Καρφιτσωμένα κελιά"), this);
    pinHeading->setObjectName(QStringLiteral("pinnedCellsHeading"));
    pinHeading->adjustSize();
    pinHeading->move(pinX, listTop);
    pinAddressEdit_ = new QLineEdit(this);
    pinAddressEdit_->setObjectName(QStringLiteral("pinAddressEdit"));
    pinAddressEdit_->setMaxLength(4);
    pinAddressEdit_->setAccessibleName(QStringLiteral("Διεύθυνση κελιού για καρφίτσωμα"));
    pinAddressEdit_->setGeometry(pinX, listTop + 20, 50, 24);
    pinAddressEdit_->installEventFilter(this);
    pinButton_ = new QPushButton(QStringLiteral("Καρφίτσωμα"), this);
    pinButton_->setObjectName(QStringLiteral("pinButton"));
    unpinButton_ = new QPushButton(QStringLiteral("Αφαίρεση"), this);
    unpinButton_->setObjectName(QStringLiteral("unpinButton"));
    int buttonX = pinX + 56;
    for (QPushButton* button : {pinButton_, unpinButton_}) {
        button->setAutoDefault(false);
        const int width = button->sizeHint().width();
        button->setGeometry(buttonX, listTop + 19, width, 26);
        buttonX += width + 6;
    }
    pinnedCells_ = new QTableWidget(0, 3, this);
    pinnedCells_->setObjectName(QStringLiteral("pinnedCells"));
    pinnedCells_->setAccessibleName(QStringLiteral("Καρφιτσωμένα κελιά"));
    pinnedCells_->setHorizontalHeaderLabels(
        {QStringLiteral("Κελί"), QStringLiteral("Τιμή"), QStringLiteral("Χαρακτήρας")});
    pinnedCells_->verticalHeader()->setVisible(false);
    pinnedCells_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    pinnedCells_->horizontalHeader()->setStretchLastSection(true);
    pinnedCells_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pinnedCells_->setSelectionMode(QAbstractItemView::SingleSelection);
    pinnedCells_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int pinWidth = std::max(230, buttonX - 6 - pinX);
    const QFontMetrics metrics(pinnedCells_->font());
    for (int column = 0; column < 2; ++column)
        pinnedCells_->setColumnWidth(column,
                                     metrics.horizontalAdvance(QStringLiteral("Τιμή__")) + 12);
    pinnedCells_->setGeometry(pinX, listTop + 52, pinWidth, kListHeight - 32 - 40);
    pinnedCells_->installEventFilter(this);
    pinNoticeLabel_ = new QLabel(this);
    pinNoticeLabel_->setObjectName(QStringLiteral("pinNoticeLabel"));
    pinNoticeLabel_->setWordWrap(true);
    pinNoticeLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = pinNoticeLabel_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    pinNoticeLabel_->setPalette(red);
    pinNoticeLabel_->setGeometry(pinX, pinnedCells_->geometry().bottom() + 4, pinWidth, 56);
    pinHeading->setBuddy(pinAddressEdit_);

    listWidgets_ = {hitLabel_,       hitCountSpin_, recentHeading, recentSteps_, pinHeading,
                    pinAddressEdit_, pinButton_,    unpinButton_,  pinnedCells_, pinNoticeLabel_};
    for (QWidget* widget : listWidgets_) widget->hide();
    hitTimesLabel_->hide();
    resize(std::max(width(), pinX + pinWidth + 16), pinNoticeLabel_->geometry().bottom() + 8);

    connect(hitCountSpin_, &QSpinBox::valueChanged, this, [this](int every) {
        const int row = workspace_.grid.Row();
        if (workspace_.grid.HasBreakpoint(row) && workspace_.grid.BreakpointEvery(row) != every)
            windows_.mainWindow->RunCommand([&] { session_.SetBreakpointEvery(row, every); });
    });
    // Every change the main window shows (the cursor moved, a breakpoint set) redraws the grid's
    // row header; the field follows it.
    if (windows_.mainWindow) {
        if (auto* grid = windows_.mainWindow->findChild<ui::ProgramGridView*>())
            connect(grid->GridModel(), &QAbstractItemModel::headerDataChanged, this,
                    &StepWindow::ShowBreakpointCount);
    }
    ShowBreakpointCount();
    connect(recentSteps_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { BackToListedStep(row); });
    connect(pinButton_, &QPushButton::clicked, this, &StepWindow::PinCell);
    connect(unpinButton_, &QPushButton::clicked, this, &StepWindow::UnpinCell);
}

void StepWindow::ShowBreakpointCount() {
    const grid::ProgramGrid& grid = workspace_.grid;
    const int row = grid.Row();
    const bool has = grid.HasBreakpoint(row);
    hitLabel_->setText(ui::ToQString(app::BreakpointCountCaption(grid)));
    hitLabel_->adjustSize();
    const QRect label = hitLabel_->geometry();
    hitCountSpin_->move(label.right() + 6, label.top() - 4);
    hitTimesLabel_->move(hitCountSpin_->geometry().right() + 6, label.top());
    // "φορές" only after a count that is there.
    hitTimesLabel_->setVisible(has && session_.State().nextVisible);
    hitCountSpin_->setEnabled(has);
    {
        const QSignalBlocker quiet(hitCountSpin_);
        hitCountSpin_->setValue(grid.BreakpointEvery(row));
    }
    hitCountSpin_->setAccessibleName(
        has ? QStringLiteral(
                  "Διακοπή μετά από τόσα περάσματα από το σημείο διακοπής της γραμμής %1")
                  .arg(row)
            : QStringLiteral("Η γραμμή %1 δεν έχει σημείο διακοπής").arg(row));
}

void StepWindow::BackToListedStep(int row) {
    if (row < 0 || row >= static_cast<int>(recentPositions_.size())) return;
    const std::size_t position = recentPositions_[static_cast<std::size_t>(row)];
    KeepKeyboard(
        [this, position] { windows_.mainWindow->RunCommand([&] { session_.BackTo(position); }); });
    ShowState();
}

void StepWindow::PinCell() {
    session_.PinCell(ui::ToStdString(pinAddressEdit_->text()));
    if (session_.State().pinNotice.empty()) pinAddressEdit_->clear();
    ShowLists();
}

void StepWindow::UnpinCell() {
    const int row = pinnedCells_->currentRow();
    if (row < 0) return;
    session_.UnpinCell(static_cast<std::size_t>(row));
    ShowLists();
}

void StepWindow::CreateDebuggerControls() {
    // The console window's text, which the history keeps and puts back.
    // The console is created after this window: it is looked up when the history needs it.
    class ConsoleWindowText : public cpu::RestorableConsole {
      public:
        explicit ConsoleWindowText(ApplicationWindows& windows) : windows_(windows) {}
        std::string Text() const override { return windows_.consoleWindow->ShownText(); }
        void SetText(const std::string& text) override {
            windows_.consoleWindow->ReplaceShownText(text);
        }
        std::size_t Size() const override { return windows_.consoleWindow->ShownSize(); }
        void KeepDropped() override { windows_.consoleWindow->KeepDropped(); }
        std::string TakeDropped() override { return windows_.consoleWindow->TakeDropped(); }

      private:
        ApplicationWindows& windows_;
    };
    consoleText_ = std::make_unique<ConsoleWindowText>(windows_);
    session_.SetConsole(consoleText_.get());

    const int top = statusLabel_->geometry().bottom() + 6;
    continueButton_ = new QPushButton(QStringLiteral("Συνέχεια (F5)"), this);
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    stepOverButton_ = new QPushButton(QStringLiteral("Παράκαμψη JSR (F10)"), this);
    stepOverButton_->setObjectName(QStringLiteral("stepOverButton"));
    runToCursorButton_ = new QPushButton(QStringLiteral("Έως τον κέρσορα (F4)"), this);
    runToCursorButton_->setObjectName(QStringLiteral("runToCursorButton"));
    backButton_ = new QPushButton(QStringLiteral("Πίσω (Ctrl+Z)"), this);
    backButton_->setObjectName(QStringLiteral("backButton"));
    // A key for every button, in this window only; the first three keep their captions, and
    // their keys show as tips.
    const std::pair<QPushButton*, QKeySequence> keys[] = {
        {nextButton_, QKeySequence(Qt::Key_F11)},
        {stopButton_, QKeySequence(Qt::SHIFT | Qt::Key_F5)},
        {continueButton_, QKeySequence(Qt::Key_F5)},
        {stepOverButton_, QKeySequence(Qt::Key_F10)},
        {runToCursorButton_, QKeySequence(Qt::Key_F4)},
        {backButton_, QKeySequence(Qt::CTRL | Qt::Key_Z)}};
    for (const auto& [button, key] : keys) button->setShortcut(key);
    startButton_->setToolTip(QStringLiteral("Enter στη διεύθυνση εκκίνησης"));
    nextButton_->setToolTip(QStringLiteral("Enter ή F11"));
    stopButton_->setToolTip(QStringLiteral("Shift+F5"));
    int x = 16;
    for (QPushButton* button :
         {continueButton_, stepOverButton_, runToCursorButton_, backButton_}) {
        button->setAutoDefault(false);
        const int width = std::max(90, button->sizeHint().width());
        button->setGeometry(x, top, width, 26);
        x += width + 8;
        button->hide();
    }
    // Below them, the way back to a breakpoint.
    backToBreakpointButton_ =
        new QPushButton(QStringLiteral("Πίσω ως το σημείο διακοπής (Ctrl+Shift+Z)"), this);
    backToBreakpointButton_->setObjectName(QStringLiteral("backToBreakpointButton"));
    backToBreakpointButton_->setAutoDefault(false);
    backToBreakpointButton_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    backToBreakpointButton_->setGeometry(16, top + 34, backToBreakpointButton_->sizeHint().width(),
                                         26);
    backToBreakpointButton_->hide();
    // A watchpoint: the runs stop when this cell changes (to this value, when one is given).
    int watchX = backToBreakpointButton_->geometry().right() + 16;
    auto* watchLabel = new QLabel(QStringLiteral("Διακοπή όταν αλλάξει το κελί"), this);
    watchLabel->setObjectName(QStringLiteral("watchLabel"));
    watchLabel->adjustSize();
    watchLabel->move(watchX, top + 34 + 5);
    watchX += watchLabel->width() + 6;
    watchAddressEdit_ = new QLineEdit(this);
    watchAddressEdit_->setObjectName(QStringLiteral("watchAddressEdit"));
    watchAddressEdit_->setMaxLength(4);
    watchAddressEdit_->setAccessibleName(QStringLiteral("Κελί που παρακολουθείται"));
    watchAddressEdit_->setGeometry(watchX, top + 34 + 1, 50, 24);
    watchLabel->setBuddy(watchAddressEdit_);
    auto* valueLabel = new QLabel(QStringLiteral("σε"), this);
    valueLabel->setObjectName(QStringLiteral("watchValueLabel"));
    valueLabel->adjustSize();
    valueLabel->move(watchX + 56, top + 34 + 5);
    watchValueEdit_ = new QLineEdit(this);
    watchValueEdit_->setObjectName(QStringLiteral("watchValueEdit"));
    watchValueEdit_->setMaxLength(2);
    watchValueEdit_->setAccessibleName(
        QStringLiteral("Τιμή που σταματά την εκτέλεση (κενό: κάθε αλλαγή)"));
    watchValueEdit_->setGeometry(watchX + 62 + valueLabel->width(), top + 34 + 1, 34, 24);
    watchWidgets_ = {watchLabel, watchAddressEdit_, valueLabel, watchValueEdit_};
    for (QWidget* widget : watchWidgets_) widget->hide();
    x = std::max(x, watchValueEdit_->geometry().right() + 16);
    const int sentenceTop = top + 34 + 34;
    sentenceLabel_ = new QLabel(this);
    sentenceLabel_->setObjectName(QStringLiteral("sentenceLabel"));
    sentenceLabel_->setWordWrap(true);
    sentenceLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sentenceLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sentenceLabel_->setGeometry(16, sentenceTop, std::max(width() - 32, x - 24), 44);
    sentenceLabel_->hide();
    resize(std::max(width(), x + 8), sentenceTop + 44 + 10);
    CreateWatchingControls();

    connect(continueButton_, &QPushButton::clicked, this, &StepWindow::Continue);
    connect(stepOverButton_, &QPushButton::clicked, this, &StepWindow::StepOver);
    connect(runToCursorButton_, &QPushButton::clicked, this, &StepWindow::RunToCursor);
    connect(backButton_, &QPushButton::clicked, this, &StepWindow::Back);
    connect(backToBreakpointButton_, &QPushButton::clicked, this, &StepWindow::BackToBreakpoint);
}

void StepWindow::RunRecorded(std::unique_ptr<app::RecordedRun> (app::StepSession::*begin)(),
                             bool nextWithoutRun) {
    windows_.mainWindow->RunCommand([&] {
        session_.SetWatch(ui::ToStdString(watchAddressEdit_->text()),
                          ui::ToStdString(watchValueEdit_->text()));
        std::unique_ptr<app::RecordedRun> run = (session_.*begin)();
        if (!run) {
            if (nextWithoutRun) session_.Next();
            return;
        }
        {
            // The console repaints at most every few milliseconds while the run lasts.
            const ConsoleWindow::RunBurst consoleBurst(*windows_.consoleWindow);
            RunToEnd(*run, stopWindowDelayMs, windows_.mainWindow.get());
        }
        session_.FinishRun(*run);
    });
    ShowState();
}

void StepWindow::Continue() {
    KeepKeyboard([this] { RunRecorded(&app::StepSession::Continue, false); });
}

void StepWindow::StepOver() {
    KeepKeyboard([this] { RunRecorded(&app::StepSession::StepOverJsr, true); });
}

void StepWindow::RunToCursor() {
    KeepKeyboard([this] { RunRecorded(&app::StepSession::RunToCursor, false); });
}

void StepWindow::Back() {
    KeepKeyboard([this] { windows_.mainWindow->RunCommand([this] { session_.Back(); }); });
    ShowState();
}

void StepWindow::BackToBreakpoint() {
    KeepKeyboard(
        [this] { windows_.mainWindow->RunCommand([this] { session_.BackToBreakpoint(); }); });
    ShowState();
}

void StepWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) ResetForNewSession();
}

void StepWindow::ResetForNewSession() {
    session_.ResetForNewSession();
    ShowState();
    // The window opens ready for a start address: "0000" selected, so that typing replaces it.
    startAddressEdit_->setFocus();
    startAddressEdit_->selectAll();
}

void StepWindow::closeEvent(QCloseEvent* event) {
    EndSession();
    QWidget::closeEvent(event);
}

void StepWindow::EndSession() {
    session_.Close();
    windows_.mainWindow->RefreshFromWorkspace();
}

bool StepWindow::CursorKey(QKeyEvent* event) {
    int rows = 0;
    switch (event->key()) {
        case Qt::Key_Up:
            rows = -1;
            break;
        case Qt::Key_Down:
            rows = 1;
            break;
        case Qt::Key_PageUp:
            rows = -app::kCursorPageRows;
            break;
        case Qt::Key_PageDown:
            rows = app::kCursorPageRows;
            break;
        default:
            return false;
    }
    session_.MoveCursor(rows);
    windows_.mainWindow->RefreshFromWorkspace();
    return true;
}

void StepWindow::ComeBack(bool tell) {
    // Told when the window was out of sight, or for a key, which the grid could not take.
    tell = tell || isMinimized();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (!tell) return;
    workspace_.ShowMessage(app::kSteppingUnderWayNotice, workspace_.grid.Col(),
                           grid::Tone::kNotice);
    windows_.mainWindow->RefreshFromWorkspace();
}

bool StepWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::MouseButtonPress) && watched->isWidgetType() &&
        isVisible() && session_.Stepping()) {
        QWidget* target = static_cast<QWidget*>(watched);
        // The lists and the count take their own arrows.
        const bool ownArrows = target == startAddressEdit_ || target == recentSteps_ ||
                               target == pinnedCells_ || hitCountSpin_->isAncestorOf(target) ||
                               target == hitCountSpin_;
        if (type == QEvent::KeyPress && target->window() == this && !ownArrows &&
            CursorKey(static_cast<QKeyEvent*>(event)))
            return true;
        // The grid is the step window's: a key or a click in the main window would seem to do
        // nothing while the step window may be minimised. A click still moves the cursor.
        if (windows_.mainWindow && target->window() == windows_.mainWindow.get() &&
            qobject_cast<QMenuBar*>(target) == nullptr)
            QTimer::singleShot(0, this, [this, key = type == QEvent::KeyPress] {
                if (isVisible() && session_.Stepping()) ComeBack(key);
            });
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == recentSteps_ && enter) {
            BackToListedStep(recentSteps_->currentRow());
            return true;
        }
        if (watched == pinAddressEdit_ && enter) {
            PinCell();
            return true;
        }
        if (watched == pinnedCells_ && key == Qt::Key_Delete) {
            UnpinCell();
            return true;
        }
    }
    if (watched == startAddressEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Start();  // which puts the focus on Next
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StepWindow::Start() {
    // The console is created after this window.
    connect(windows_.consoleWindow, &ConsoleWindow::AnswerEntered, this, &StepWindow::AnswerEntered,
            Qt::UniqueConnection);
    session_.State().startAddress = ui::ToStdString(startAddressEdit_->text());
    KeepKeyboard([this] { windows_.mainWindow->RunCommand([this] { session_.Start(); }); });
    ShowState();
    if (nextButton_->isVisible()) nextButton_->setFocus();
}

void StepWindow::Next() {
    KeepKeyboard([this] { windows_.mainWindow->RunCommand([this] { session_.Next(); }); });
    ShowState();
}

void StepWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && nextButton_->isVisible() &&
        nextButton_->isEnabled()) {
        Next();
        return;
    }
    QWidget::keyPressEvent(event);
}

void StepWindow::KeepKeyboard(const std::function<void()>& command) {
    QWidget* focused = QApplication::focusWidget();
    const bool here = focused != nullptr && (focused == this || isAncestorOf(focused));
    const QPointer<QWidget> keep(focused);
    // The pinned cells' notice told of what was typed before this command.
    session_.State().pinNotice.clear();
    const bool consoleWasVisible = windows_.consoleWindow->isVisible();
    command();
    if (!here || !isVisible()) return;
    const cpu::Machine& m = workspace_.machine;
    const std::optional<cpu::StepChange> last = workspace_.history.Last(m);
    const bool askedForAccumulator =
        last && m.Read(last->address) == 0x20 && m.PC == cpu::kAskForAccumulatorRoutine;
    if (askedForAccumulator) return;
    QWidget* control = keep && keep->isVisible() && keep->isEnabled()         ? keep.data()
                       : nextButton_->isVisible() && nextButton_->isEnabled() ? nextButton_
                                                                              : startButton_;
    const auto giveBack = [this, target = QPointer<QWidget>(control)] {
        if (!isVisible()) return;
        raise();
        activateWindow();
        if (target) target->setFocus(Qt::OtherFocusReason);
    };
    giveBack();
    if (consoleWasVisible || !windows_.consoleWindow->isVisible()) return;

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
    new ActivationWatch(windows_.consoleWindow, giveBack);
}

void StepWindow::AnswerEntered(int previousAc) {
    if (!isVisible()) return;
    session_.AnswerEntered(previousAc);
    ShowState();
}

void StepWindow::Stop() {
    session_.Stop();
    ShowState();
}

void StepWindow::SetProgramGridEnabled(bool enabled) {
    windows_.mainWindow->SetProgramGridEnabled(enabled);
}

void StepWindow::ShowRegisterWindow() {
    // The register window comes up refilled; the focus stays here, on Next.
    RegisterWindow* registers = windows_.registerWindow;
    registers->ShowRegisters();
    registers->setAttribute(Qt::WA_ShowWithoutActivating, true);
    registers->show();
    registers->setAttribute(Qt::WA_ShowWithoutActivating, false);
    registers->raise();
}

void StepWindow::RefillRegisters() {
    windows_.registerWindow->ShowRegisters();
}

void StepWindow::RedrawMemory() {
    windows_.memoryWindow->RedrawView();
}

void StepWindow::RepaintMemory() {
    windows_.memoryWindow->update();
}

}  // namespace zorvan::windows
