#include "windows/exercise_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace zorvan::windows {

namespace {

// The roles of an item's data: the cell a failure is about, or -1.
constexpr int kCellRole = Qt::UserRole;

QString CaseTitle(const app::ExerciseLine& line) {
    return line.caseName.empty() ? QStringLiteral("Το πρόγραμμα") : ui::ToQString(line.caseName);
}

}  // namespace

ExerciseWindow::ExerciseWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("exerciseWindow"));
    setWindowTitle(QStringLiteral("Έλεγχος άσκησης"));
    resize(620, 460);
    auto* layout = new QVBoxLayout(this);

    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel_->setWordWrap(true);
    summaryLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summaryLabel_);

    caseList_ = new QTreeWidget(this);
    caseList_->setObjectName(QStringLiteral("caseList"));
    caseList_->setAccessibleName(QStringLiteral("Περιπτώσεις"));
    caseList_->setHeaderLabels({QStringLiteral("Περίπτωση"), QStringLiteral("Αποτέλεσμα"),
                                QStringLiteral("Αναμενόταν"), QStringLiteral("Βρέθηκε")});
    caseList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(caseList_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenItem(item); });
    connect(caseList_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenItem(item); });
    layout->addWidget(caseList_, 2);

    auto* traceHeading =
        new QLabel(QStringLiteral("Οι τελευταίες εντολές των περιπτώσεων που απέτυχαν:"), this);
    layout->addWidget(traceHeading);
    traceArea_ = new QPlainTextEdit(this);
    traceArea_->setObjectName(QStringLiteral("traceArea"));
    traceArea_->setAccessibleName(QStringLiteral("Οι τελευταίες εντολές"));
    traceArea_->setReadOnly(true);
    traceArea_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(traceArea_, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* closeButton =
        buttons->addButton(QStringLiteral("Κλείσιμο"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ExerciseWindow::ShowResult(const app::ExerciseResult& result, const QString& fileName) {
    problemColumn_ = result.problemColumn;
    problemRow_ = result.problemRow;
    QString summary = fileName + QStringLiteral(": ") +
                      ui::ToQString(result.passed ? app::kExercisePassed : app::kExerciseFailed) +
                      QStringLiteral(", ") + ui::ToQString(app::ExerciseScoreText(result));
    if (!result.problem.empty()) summary += QStringLiteral("\n") + ui::ToQString(result.problem);
    if (result.problemRow > 0) {
        summary += QStringLiteral("\nΔιπλό κλικ σε μια περίπτωση: η γραμμή %1 στο πλέγμα.")
                       .arg(result.problemRow);
    }
    summaryLabel_->setText(summary);

    caseList_->clear();
    QTreeWidgetItem* caseItem = nullptr;
    for (const app::ExerciseLine& line : result.lines) {
        if (line.isCase) {
            caseItem = new QTreeWidgetItem(caseList_);
            caseItem->setText(0, CaseTitle(line));
            caseItem->setText(
                1, ui::ToQString(line.passed ? app::kExercisePassed : app::kExerciseFailed));
            caseItem->setForeground(
                1, line.passed ? QColor(0x00, 0x00, 0xFF) : QColor(0xFF, 0x00, 0x00));
            caseItem->setData(0, kCellRole, -1);
            caseItem->setExpanded(true);
            continue;
        }
        auto* check =
            caseItem != nullptr ? new QTreeWidgetItem(caseItem) : new QTreeWidgetItem(caseList_);
        check->setText(0, ui::ToQString(line.what));
        check->setText(1, ui::ToQString(line.message));
        check->setText(2, ui::ToQString(line.expected));
        check->setText(3, ui::ToQString(line.found));
        check->setData(0, kCellRole, line.cell.value_or(-1));
        if (line.cell) {
            check->setToolTip(0, QStringLiteral("Διπλό κλικ: το κελί στο παράθυρο της μνήμης"));
        }
    }
    caseList_->expandAll();
    if (caseList_->topLevelItemCount() > 0) caseList_->setCurrentItem(caseList_->topLevelItem(0));

    QString trace;
    for (const std::string& line : result.explanation)
        trace += ui::ToQString(line) + QLatin1Char('\n');
    traceArea_->setPlainText(trace);
}

void ExerciseWindow::OpenItem(QTreeWidgetItem* item) {
    const int cell = item->data(0, kCellRole).toInt();
    if (cell >= 0) {
        emit cellRequested(cell);
    } else if (problemRow_ > 0) {
        emit lineRequested(problemColumn_, problemRow_);
    }
}

}  // namespace zorvan::windows
