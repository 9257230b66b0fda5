#include "windows/upper_case_validator.h"

#include <QLineEdit>

namespace zorvan::windows {

QValidator::State UpperCaseValidator::validate(QString& input, int&) const {
    input = input.toUpper();
    return Acceptable;
}

void MakeUpperCase(QLineEdit* edit) {
    edit->setValidator(new UpperCaseValidator(edit));
}

}  // namespace zorvan::windows
