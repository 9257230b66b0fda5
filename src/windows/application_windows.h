#pragma once
// The eight windows of the application, one instance each, created once at start-up in a fixed
// order and alive until the end, together with the workspace they all show.
//
// The workspace is the program grid, the message area and the machine. A window that reaches
// another goes through this (windows.memoryWindow->show()); one that changes the workspace calls
// windows.mainWindow->RefreshFromWorkspace() so that the main window shows it.

#include <memory>

#include "grid/workspace.h"

namespace zorvan::windows {

class MainWindow;
class StartAddressDialog;
class InsertLinesDialog;
class AboutDialog;
class MemoryWindow;
class RegisterWindow;
class StepWindow;
class ConsoleWindow;

struct ApplicationWindows {
    ApplicationWindows();
    ~ApplicationWindows();
    ApplicationWindows(const ApplicationWindows&) = delete;
    ApplicationWindows& operator=(const ApplicationWindows&) = delete;

    grid::Workspace workspace;
    // In the order of creation. The main window is the Qt parent, and so the one owner, of the
    // other seven: they go with it.
    std::unique_ptr<MainWindow> mainWindow;
    StartAddressDialog* startAddressDialog = nullptr;
    InsertLinesDialog* insertLinesDialog = nullptr;
    AboutDialog* aboutDialog = nullptr;
    MemoryWindow* memoryWindow = nullptr;
    RegisterWindow* registerWindow = nullptr;
    StepWindow* stepWindow = nullptr;
    ConsoleWindow* consoleWindow = nullptr;
};

}  // namespace zorvan::windows
