#pragma once

#include <QObject>

class QWidget;

// While the dice land the window does not return to its event loop, so a
// click or a key made meanwhile would wait in the queue and then act on the
// landed dice: a click on a die would mark the new die, a double click on a
// throw button would throw twice. While a blocker lives, every user input
// event meant for the window (mouse, keys, wheel, shortcuts, its menus) is
// dropped; the window's owner delivers what is still queued before the
// blocker goes, so that it is dropped too.
class LandingInputBlocker : public QObject {
public:
    explicit LandingInputBlocker(QWidget *window);
    ~LandingInputBlocker() override;

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    bool belongsToWindow(QObject *receiver) const;

    QWidget *window_;
};
