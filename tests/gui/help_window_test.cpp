// The help window's own controls: paging through every page in the contents' order, search
// across pages, larger and smaller text by keys and by the wheel, and the pages' links that open
// an example in the main window. And the help's claims about runs, played on the real windows:
// a message that the window overwrites after the core wrote it is caught here.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>

#include "../core/help_claim_reader.h"
#include "app/program_file.h"
#include "cpu/registers.h"
#include "find_child.h"
#include "modal_driver.h"
#include "ui/program_grid_view.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/help_window.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

using zorvan::windows::HelpWindow;

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    // Επόμενο from the contents walks every page once, each with its title, and stops at the
    // last; Προηγούμενο walks back to the contents.
    void nextAndPreviousWalkEveryPage() {
        HelpWindow help;
        const QStringList order = HelpWindow::PageOrder();
        QVERIFY(order.size() >= 16);
        QCOMPARE(order.mid(0, 3), QStringList({"index.html", "first.html", "lessons.html"}));
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        auto* next = Child<QAction>(&help, "nextPageAction");
        auto* previous = Child<QAction>(&help, "previousPageAction");
        QVERIFY(!previous->isEnabled());
        QStringList seen{browser->source().fileName()};
        while (next->isEnabled() && seen.size() <= order.size()) {
            next->trigger();
            QVERIFY2(!browser->documentTitle().isEmpty(), qPrintable(browser->source().toString()));
            seen.append(browser->source().fileName());
        }
        QCOMPARE(seen, order);
        for (qsizetype k = 1; k < order.size(); ++k) previous->trigger();
        QCOMPARE(browser->source(), HelpWindow::kContentsPage);
        QVERIFY(!previous->isEnabled());
    }

    // A word typed without accents finds the pages that have it, and the first is shown with the
    // word selected; a word that no page has says so.
    void searchFindsAcrossPagesWithoutAccents() {
        HelpWindow help;
        auto* results = Child<QListWidget>(&help, "helpSearchResults");
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        help.Search(QStringLiteral("ΣΤΟΙΒΑ"));
        QVERIFY(results->count() >= 3);
        QVERIFY(results->item(0)->flags() != Qt::NoItemFlags);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("στοίβα"));
        help.Search(QStringLiteral("ξψξψξψ"));
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->flags(), Qt::NoItemFlags);
    }

    void textGrowsAndShrinksByKeysAndWheel() {
        HelpWindow help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        auto* browser = Child<QTextBrowser>(&help, "helpBrowser");
        const qreal start = browser->font().pointSizeF();
        QTest::keyClick(&help, Qt::Key_Plus, Qt::ControlModifier);
        const qreal larger = browser->font().pointSizeF();
        QVERIFY(larger > start);
        QTest::keyClick(&help, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(browser->font().pointSizeF(), start);
        const QPoint middle = browser->viewport()->rect().center();
        QWheelEvent wheel(middle, browser->viewport()->mapToGlobal(middle), {}, {0, 120},
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(browser->viewport(), &wheel);
        QVERIFY(browser->font().pointSizeF() > start);
    }

    // «Άνοιγμα στο πλέγμα» over a changed program asks New's question first: Cancel keeps the
    // program, No puts the example in, assembled so that F9 runs it. The page stays where it was.
    void anExampleLinkOpensTheProgramAfterTheSaveFirstQuestion() {
        zorvan::windows::ApplicationWindows windows;
        zorvan::grid::Workspace& workspace = windows.workspace;
        workspace.grid.SetCell(1, 1, "0200");
        workspace.grid.SetCell(2, 1, "NOP");
        workspace.changed = true;
        Child<QAction>(windows.mainWindow.get(), "helpAction")->trigger();
        auto* browser = Child<QTextBrowser>(windows.mainWindow.get(), "helpBrowser");
        const QUrl page = browser->source();
        const QUrl link(QStringLiteral("zorvan-open:examples/hello.zrv"));
        QStringList boxes;
        for (const QString& answer : {QStringLiteral("Cancel"), QStringLiteral("Όχι")}) {
            ModalDriver driver({[&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                boxes << box->text();
                if (answer == "Cancel") return box->reject();
                ModalDriver::Answer(&boxes, answer)(modal);
            }});
            browser->setSource(link);
            QVERIFY(driver.done());
        }
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes.front(), QStringLiteral("Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;"));
        QCOMPARE(browser->source(), page);
        QCOMPARE(workspace.grid.Cell(2, 1), "LDA");
        QCOMPARE(workspace.grid.Cell(3, 1), "#C3");
        QVERIFY(!workspace.changed);
        QCOMPARE(workspace.machine.Read(0x0200), 0xA9);  // LDA #, assembled
        QVERIFY(Child<QAction>(windows.mainWindow.get(), "runAction")->isEnabled());

        // An exercise's «Έλεγχος» checks the grid with the exercise's built-in file.
        browser->setSource(QUrl(QStringLiteral("zorvan-check:examples/exercises/ex1a.expect")));
        auto* result = Child<QWidget>(windows.mainWindow.get(), "exerciseWindow");
        QTRY_VERIFY(result->isVisible());
        QVERIFY(Child<QLabel>(result, "summaryLabel")->text().contains("Βαθμός: 0/1"));
        QCOMPARE(browser->source(), page);
    }

    // Every claim that runs a program through Run, Step execution, Συνέχεια, Πίσω or a
    // breakpoint, played on the windows as a student would, leaves on screen what the page says.
    void theHelpsRunsShowOnScreenWhatThePagesSay() {
        using zorvan::testing::Unescape;
        const QStringList playable = QStringLiteral(
                                         "line file poke step f9 back continue breakpoint message "
                                         "console expect sentence cells executed summary")
                                         .split(' ');
        // A window that waits for an answer no claim gives is closed, and fails the claim.
        QStringList unexpected;
        QPointer<QWidget> waiting;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal == waiting) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                unexpected << (box != nullptr ? box->text() : modal->objectName());
                modal->close();
            }
            waiting = modal;
        });
        guard.start(200);
        int played = 0;
        for (const auto& page : zorvan::testing::HelpPages()) {
            std::vector<std::string> errors;
            for (const zorvan::testing::Claim& claim : zorvan::testing::ClaimsOf(page, errors)) {
                const bool runs = claim.Has("step") || claim.Has("f9");
                const bool all = std::all_of(claim.keys.begin(), claim.keys.end(), [&](auto& k) {
                    return playable.contains(QString::fromStdString(k.first));
                });
                if (!runs || !all || !(claim.Has("message") || claim.Has("sentence"))) continue;
                const QByteArray where = QByteArray::fromStdString(claim.page + ": " + claim.title);
                zorvan::windows::ApplicationWindows windows;
                auto* main = windows.mainWindow.get();
                ShowActive(main);
                zorvan::grid::ProgramGrid& grid = windows.workspace.grid;
                if (const auto rows = zorvan::testing::ProgramOf(claim); !rows.empty())
                    zorvan::app::PlaceProgramRows(grid, rows);
                windows.workspace.executionEnabled = true;  // as a completed line leaves it
                main->RefreshFromWorkspace();
                QStringList summary;  // Assemble asks whether to show the memory
                ModalDriver assembly({ModalDriver::Answer(&summary, QStringLiteral("Όχι"))});
                Child<QAction>(main, "assembleAction")->trigger();
                QVERIFY2(assembly.done(), where);
                auto* step = windows.stepWindow;
                const auto click = [&](const char* name) {
                    QTest::mouseClick(Child<QPushButton>(step, name), Qt::LeftButton);
                };
                for (const auto& [key, value] : claim.keys) {
                    const auto words = QString::fromStdString(value).split(' ');
                    if (key == "poke") {
                        for (const QString& word : words) {
                            const QStringList cell = word.split('=');
                            int at = cell[0].toInt(nullptr, 16);
                            for (const QString& v : cell[1].split(','))
                                windows.workspace.machine.Write(at++, v.toInt(nullptr, 16));
                        }
                    } else if (key == "breakpoint") {  // F5, as the debugger's test presses it
                        grid.SetRow(std::stoi(value));
                        main->RefreshFromWorkspace();
                        Child<QAction>(main, "breakpointAction")->trigger();
                    } else if (key == "f9") {
                        ModalDriver driver({ModalDriver::Type(QString::fromStdString(value))});
                        Child<QAction>(main, "runAction")->trigger();
                        QVERIFY2(driver.done(), where);
                    } else if (key == "step") {
                        Child<QAction>(main, "stepAction")->trigger();
                        QVERIFY(QTest::qWaitForWindowExposed(step));
                        auto* start = Child<QLineEdit>(step, "startAddressEdit");
                        start->clear();
                        QTest::keyClicks(start, words[0]);
                        QTest::keyClick(start, Qt::Key_Return);
                        for (int k = 1; k < words.value(1).toInt(); ++k) click("nextButton");
                    } else if (key == "continue") {
                        click("continueButton");
                    } else if (key == "back") {
                        for (int k = 0; k < std::stoi(value); ++k) click("backButton");
                    }
                }
                // What the windows show; the machine's values are the core's, checked headless.
                for (const auto& [key, value] : claim.keys) {
                    const QString expected = QString::fromStdString(Unescape(value));
                    QString shown;
                    if (key == "message") {
                        auto* area = Child<QPlainTextEdit>(main, "messageArea");
                        (void)QTest::qWaitFor([&] { return area->toPlainText() == expected; },
                                              2000);
                        shown = area->toPlainText();
                    } else if (key == "sentence") {
                        shown = Child<QLabel>(step, "sentenceLabel")->text();
                    } else if (key == "console") {
                        shown = Child<QPlainTextEdit>(windows.consoleWindow, "outputArea")
                                    ->toPlainText();
                    } else if (key == "executed") {
                        shown = Child<QTableWidget>(step, "stepRows")->item(0, 1)->text();
                    } else if (key == "summary") {  // the lines' and the bytes' counts
                        const QStringList counts = expected.split(' ');
                        shown = summary.value(0);
                        QVERIFY2(shown.contains(":" + counts[0] + " γραμμές") &&
                                     shown.contains(":" + counts.value(1) + "\n"),
                                 where + ": «" + shown.toUtf8() + "»");
                        continue;
                    } else {
                        continue;
                    }
                    QVERIFY2(shown == expected, where + ": «" + shown.toUtf8() + "»");
                }
                QVERIFY2(unexpected.isEmpty(), qPrintable(where + ": " + unexpected.join(", ")));
                ++played;
            }
        }
        QVERIFY(played >= 15);
    }

    // F1 opens the page of the window it is pressed in; the main window's opens the contents.
    // The modal start-address dialog gets a help window of its own, which it does not block.
    void f1OpensThePageOfTheWindowItIsPressedIn() {
        zorvan::windows::ApplicationWindows windows;
        QWidget* main = windows.mainWindow.get();
        const std::pair<QWidget*, QString> cases[] = {
            {main, "index.html"},
            {windows.stepWindow, "debugger.html"},
            {windows.memoryWindow, "windows.html"},
            {windows.registerWindow, "windows.html"},
            {windows.consoleWindow, "console.html"},
            {Child<QWidget>(main, "exerciseWindow"), "teacher.html"}};
        for (const auto& [window, page] : cases) {
            auto* key = Child<QAction>(window, window == main ? "helpAction" : "helpKeyAction");
            QCOMPARE(key->shortcut(), QKeySequence(Qt::Key_F1));
            key->trigger();
            QCOMPARE(Child<QTextBrowser>(main, "helpBrowser")->source().fileName(), page);
        }
        auto* dialog = windows.startAddressDialog;
        Child<QAction>(dialog, "helpKeyAction")->trigger();
        QCOMPARE(Child<QTextBrowser>(dialog, "helpBrowser")->source().fileName(), "running.html");
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
