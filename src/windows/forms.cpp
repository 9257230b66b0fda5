#include "windows/forms.h"

#include "ui/close_on_escape.h"

#include "windows/about_dialog.h"
#include "windows/console_window.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace zorvan::windows {

Forms::Forms() {
    Form1 = std::make_unique<TForm1>(workspace, *this);
    QWidget* main = Form1.get();
    pr_start = std::make_unique<Tpr_start>(workspace, *this, main);
    INSform = std::make_unique<TINSform>(workspace, *this, main);
    About = std::make_unique<TAbout>(workspace, *this, main);
    MemForm = std::make_unique<TMemForm>(workspace, *this, main);
    Reg_Form = std::make_unique<TReg_Form>(workspace, *this, main);
    Step = std::make_unique<TStep>(workspace, *this, main);
    Console = std::make_unique<TConsole>(workspace, *this, main);
    for (QWidget* window :
         std::initializer_list<QWidget*>{Step.get(), MemForm.get(), Reg_Form.get(), Console.get()})
        ui::CloseOnEscape(window);
}

// The secondary windows go first: each leaves its parent, the main window, as it is destroyed.
Forms::~Forms() {
    Console.reset();
    Step.reset();
    Reg_Form.reset();
    MemForm.reset();
    About.reset();
    INSform.reset();
    pr_start.reset();
    Form1.reset();
}

}  // namespace zorvan::windows
