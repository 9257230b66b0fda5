#include "windows/application_windows.h"

#include "ui/accessible_window.h"
#include "ui/close_on_escape.h"
#include "ui/window_places.h"

#include "windows/about_dialog.h"
#include "windows/console_window.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace zorvan::windows {

ApplicationWindows::ApplicationWindows() {
    mainWindow = std::make_unique<MainWindow>(workspace, *this);
    QWidget* main = mainWindow.get();
    startAddressDialog = new StartAddressDialog(workspace, *this, main);
    insertLinesDialog = new InsertLinesDialog(main);
    aboutDialog = new AboutDialog(main);
    memoryWindow = new MemoryWindow(workspace, main);
    registerWindow = new RegisterWindow(workspace, main);
    stepWindow = new StepWindow(workspace, *this, main);
    consoleWindow = new ConsoleWindow(workspace, main);
    for (QWidget* window :
         std::initializer_list<QWidget*>{stepWindow, memoryWindow, registerWindow, consoleWindow}) {
        ui::CloseOnEscape(window);
        ui::ReadAsWindow(window);
    }
    for (QWidget* window :
         std::initializer_list<QWidget*>{main, startAddressDialog, insertLinesDialog, aboutDialog,
                                         memoryWindow, registerWindow, stepWindow, consoleWindow})
        ui::RememberPlace(window);
    // F1 opens the page that tells of the window it is pressed in.
    const std::pair<QWidget*, const char*> helpPages[] = {{stepWindow, "debugger.html"},
                                                          {memoryWindow, "windows.html"},
                                                          {registerWindow, "windows.html"},
                                                          {consoleWindow, "console.html"}};
    for (const auto& [window, page] : helpPages)
        mainWindow->AddHelpKey(window, QString::fromLatin1(page));
    mainWindow->AddHelpKey(startAddressDialog, QStringLiteral("running.html#run"), true);
}

ApplicationWindows::~ApplicationWindows() = default;

}  // namespace zorvan::windows
