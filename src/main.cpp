// Zorvan: start the application object, create the eight windows, show the main window and run
// until it closes.

#include <exception>
#include <memory>

#include <QStringList>

#include "ui/application.h"
#include "ui/error_guard.h"
#include "ui/greek_locale.h"
#include "ui/interface_font.h"
#include "windows/application_windows.h"
#include "windows/main_window.h"

int main(int argc, char** argv) {
    zorvan::ui::NameGreekSystemLocale();
    zorvan::ui::Application application(argc, argv);
    zorvan::ui::UseInterfaceFont();
    zorvan::ui::UseGreekLocale();
    std::unique_ptr<zorvan::windows::ApplicationWindows> windows;
    try {
        windows = std::make_unique<zorvan::windows::ApplicationWindows>();
    } catch (...) {
        // A failure while the windows are created is shown; the program then ends normally.
        zorvan::ui::ShowCurrentException(nullptr);
        return 0;
    }
    windows->mainWindow->show();
    // A program a crash left comes first; a file named on the command line then opens as Open
    // would, asking first when it would replace a recovered program.
    windows->mainWindow->OfferRecovery();
    if (const QStringList arguments = zorvan::ui::Application::arguments(); arguments.size() > 1) {
        windows->mainWindow->OpenNamedFile(arguments.at(1));
    }
    zorvan::ui::Application::exec();
    return 0;
}
