#pragma once

#include <QValidator>

// The best-99 name box accepts only what the list file can carry: characters
// of Windows-1252, but no comma, double quote or control character.
class NameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};
