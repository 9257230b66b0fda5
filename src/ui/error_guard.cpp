#include "ui/error_guard.h"

#include <exception>

#include "text/conversion_error.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace zorvan::ui {

void ShowCurrentException(QWidget* parent) {
    try {
        throw;
    } catch (const text::ConversionError& error) {
        ShowError(parent, ToQString(error.what()));
    } catch (const std::exception& error) {
        ShowError(parent, ToQString(error.what()));
    } catch (...) {
        ShowError(parent, QString());
    }
}

bool Guard(QWidget* parent, const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (...) {
        ShowCurrentException(parent);
        return false;
    }
}

}  // namespace zorvan::ui
