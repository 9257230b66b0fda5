#pragma once
// The help window: Zorvan's own Greek manual, compiled into the program, shown in a browser with
// a contents button, back and forward, the previous and next page in the contents' order, a
// search across every page, larger and smaller text, and printing of the page shown. It needs
// no other program and works offline.
//
//   HelpWindow::Open(mainWindow);   // F1: shows the window at its contents page
//
// A page's own links ask the main window for work: <a href="zorvan-open:examples/count.zrv">
// puts a built-in program into the grid, <a href="zorvan-check:exercises/loads1.expect"> checks
// the grid against a built-in expectation file. Both name a file of the resources.

#include <QMainWindow>
#include <QStringList>
#include <QUrl>
#include <string>

class QAction;
class QDockWidget;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace zorvan::windows {

class HelpWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The contents page.
    static const QUrl kContentsPage;

    // Shows the owner's help window, created on first use as its child (so that it goes with the
    // owner), non-modal and in front. Without a page, a window that was closed opens again at the
    // contents page and one that is still open keeps the page it shows; with a page
    // ("debugger.html", the page of the window F1 was pressed in), that page is shown.
    static HelpWindow* Open(QWidget* owner, const QString& page = {});

    // Every page in reading order: the contents page, then the pages its links name, each once.
    static QStringList PageOrder();

    explicit HelpWindow(QWidget* parent = nullptr);

    // Lists the pages whose text holds `text`, ignoring case and accents ("στοιβα" finds
    // «στοίβα»), and shows the first of them with the text selected.
    void Search(const QString& text);

  signals:
    // A link asked for a built-in program (its file's bytes) to be put into the grid.
    void ExampleAsked(const QByteArray& programBytes);
    // A link asked for the grid to be checked against a built-in expectation file.
    void ExerciseCheckAsked(const QString& name, const QByteArray& expectationText);

  private:
    // A page's own link, taken instead of loaded; false for a link to another page.
    bool TakeLink(const QUrl& link);
    void ShowTitle();
    void UpdatePageActions(const QUrl& page);
    void StepPage(int by);
    void OpenResult(const QUrl& page);
    void PrintPage();

    QTextBrowser* browser_;   // Qt object name "helpBrowser"
    QLineEdit* searchField_;  // "helpSearch"
    QListWidget* results_;    // "helpSearchResults", in the dock "searchDock"
    QDockWidget* resultsDock_;
    QAction* previousPageAction_;  // "previousPageAction"
    QAction* nextPageAction_;      // "nextPageAction"
    QStringList pages_;
    QString searched_;
};

}  // namespace zorvan::windows
