#pragma once
// The help window: Zorvan's own Greek manual, compiled into the program, shown in a browser with
// a contents button and back and forward. It needs no other program and works offline.
//
//   HelpWindow::Open(mainWindow);   // F1: shows the window at its contents page

#include <QMainWindow>
#include <QUrl>

class QTextBrowser;

namespace zorvan::windows {

class HelpWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The contents page.
    static const QUrl kContentsPage;

    // Shows the owner's help window, created on first use as its child (so that it goes with the
    // owner), non-modal and in front. A window that was closed opens again at the contents page;
    // one that is still open keeps the page it shows.
    static HelpWindow* Open(QWidget* owner);

    explicit HelpWindow(QWidget* parent = nullptr);

  private:
    void ShowTitle();

    QTextBrowser* browser_;  // Qt object name "helpBrowser"
};

}  // namespace zorvan::windows
