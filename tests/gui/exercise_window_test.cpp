// «Έλεγχος άσκησης…» on the real widgets: the menu item checks the grid against the chosen file
// without touching the machine, the window lists the cases, and a double click on a failed cell
// opens the memory window there.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <optional>

#include "../core/temp_folder.h"
#include "app/program_file.h"
#include "find_child.h"
#include "windows/application_windows.h"
#include "windows/exercise_window.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"

class ExerciseWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void theGridIsCheckedAndAFailedCellOpensTheMemoryWindow() {
        zorvan::windows::ApplicationWindows windows;
        // Right for the first case only.
        zorvan::app::PlaceProgramRows(
            windows.workspace.grid,
            zorvan::app::ReadProgramText("_ 0200 LDA #04 _ _ _ 0202 STA 0301 _ _ _ 0205 _ _ _ _"));
        windows.workspace.machine.AC = 0x77;

        const zorvan::testing::TempFolder folder;
        const std::string path = folder / "exercise.expect";
        zorvan::testing::PutFile(path,
                                 "case \"δύο\"\npoke 0300: 02\n0301: 04\n"
                                 "case \"πέντε\"\npoke 0300: 05\n0301: 0A\n");
        windows.mainWindow->chooseExpectationFile = [&] { return std::optional(path); };
        Child<QAction>(windows.mainWindow.get(), "checkExerciseAction")->trigger();

        auto* window =
            Child<zorvan::windows::ExerciseWindow>(windows.mainWindow.get(), "exerciseWindow");
        QTRY_VERIFY(window->isVisible());
        QVERIFY(Child<QLabel>(window, "summaryLabel")->text().contains("Βαθμός: 1/2"));
        auto* cases = Child<QTreeWidget>(window, "caseList");
        QCOMPARE(cases->topLevelItemCount(), 2);
        QCOMPARE(cases->topLevelItem(0)->text(1) + cases->topLevelItem(1)->text(1),
                 QStringLiteral("ΕΠΙΤΥΧΙΑΑΠΟΤΥΧΙΑ"));
        QVERIFY(!Child<QPlainTextEdit>(window, "traceArea")->toPlainText().isEmpty());
        QCOMPARE(windows.workspace.machine.AC, 0x77);  // the student's machine as it was

        QTreeWidgetItem* failedCell = cases->topLevelItem(1)->child(0);
        QCOMPARE(failedCell->text(0), QStringLiteral("0301"));
        emit cases->itemDoubleClicked(failedCell, 0);
        QTRY_VERIFY(windows.memoryWindow->isVisible());
        QCOMPARE(Child<QLineEdit>(windows.memoryWindow, "startAddressEdit")->text(),
                 QStringLiteral("0301"));
    }
};

QTEST_MAIN(ExerciseWindowTest)
#include "exercise_window_test.moc"
