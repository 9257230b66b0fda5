#pragma once
// An edit box whose typed letters turn to upper case, as the address fields have it.

#include <QValidator>

class QLineEdit;

namespace zorvan::windows {

class UpperCaseValidator : public QValidator {
    Q_OBJECT

  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

// Installs an UpperCaseValidator owned by the edit box.
void MakeUpperCase(QLineEdit* edit);

}  // namespace zorvan::windows
