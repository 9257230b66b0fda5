#pragma once
// The result of «Έλεγχος άσκησης…»: each case with ΕΠΙΤΥΧΙΑ or ΑΠΟΤΥΧΙΑ and its failed checks
// under it (what was expected, what was found), the score, and the instructions a failed case
// ran, each with the step window's sentence. A double click on a failure about a cell asks for
// the memory window there; on a program that could not be assembled, for its line.

#include <QDialog>

#include "app/exercise_check.h"

class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace zorvan::windows {

class ExerciseWindow : public QDialog {
    Q_OBJECT

  public:
    explicit ExerciseWindow(QWidget* parent = nullptr);

    // Shows the result of checking the program against the file named.
    void ShowResult(const app::ExerciseResult& result, const QString& fileName);

  signals:
    void cellRequested(int address);
    void lineRequested(int column, int row);

  private:
    void OpenItem(QTreeWidgetItem* item);

    QLabel* summaryLabel_;
    QTreeWidget* caseList_;
    QPlainTextEdit* traceArea_;
    int problemColumn_ = 0;
    int problemRow_ = 0;
};

}  // namespace zorvan::windows
