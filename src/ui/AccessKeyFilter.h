#pragma once

#include <QObject>

class QWidget;

// Keeps an Alt+letter out of a text box: an access key with no control to
// click would otherwise type its letter into the name being typed.
class AccessKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Installs the filter on `textBox`.
void dropAccessKeyLetters(QWidget *textBox);

// A button shown in `window` keeps its access key when a menu's title has the
// same one ("&Aloita peli" and "&Arvio..."): the button is clicked.
void giveButtonsTheirAccessKeys(QWidget *window);
