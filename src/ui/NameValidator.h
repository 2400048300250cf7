#pragma once

#include <QObject>
#include <QValidator>

// The best-99 name box accepts only what the list file can carry: characters
// of Windows-1252, but no comma, double quote or control character.
class NameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

// Keeps an Alt+letter out of the name box: the window's access keys are
// locked while a name is typed, and Qt would otherwise type the letter over
// the name.
class AccessKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
