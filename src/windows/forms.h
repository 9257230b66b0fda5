#pragma once
// The eight windows of the application, one instance each, created once at start-up in a fixed
// order and alive until the end, together with the workspace they all show.
//
// Every window's constructor takes (grid::Workspace&, Forms&, QWidget* parent): the workspace is
// the program grid, the message area and the machine; Forms reaches the other windows
// (forms.MemForm->show()). A window that changes the workspace calls
// forms.Form1->RefreshFromWorkspace() so that the main window shows it.

#include <memory>

#include "grid/workspace.h"

namespace zorvan::windows {

class TForm1;
class Tpr_start;
class TINSform;
class TAbout;
class TMemForm;
class TReg_Form;
class TStep;
class TConsole;

struct Forms {
    Forms();
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    grid::Workspace workspace;
    // Declared in the order of creation; the main window is the parent of the other seven.
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<Tpr_start> pr_start;
    std::unique_ptr<TINSform> INSform;
    std::unique_ptr<TAbout> About;
    std::unique_ptr<TMemForm> MemForm;
    std::unique_ptr<TReg_Form> Reg_Form;
    std::unique_ptr<TStep> Step;
    std::unique_ptr<TConsole> Console;
};

}  // namespace zorvan::windows
