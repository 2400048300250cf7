#pragma once

#include "game/Platform.h"

class QWidget;

// The real platform: Qt message boxes, the system beep, the wall clock.
class QtPlatform : public Platform {
public:
    // The pause between two dice landing: long enough to see them land one by one.
    static constexpr int dicePauseMs = 50;
    // At most this long is spent delivering the input queued while the dice landed.
    static constexpr int pendingInputMs = 100;
    // The computer's pause before each step: time to see the marks it made
    // and the row it chose.
    static constexpr int computerStepMs = 700;

    void setWindow(QWidget *window) { window_ = window; }

    QString programFolder() override;
    bool askYesNo(const QString &text) override;
    void showMessage(const QString &text, Icon icon) override;
    void beep() override;
    QTime timeOfDay() override;
    QDate today() override;
    void pauseBetweenDice() override;
    void deliverPendingInput() override;
    void afterComputerPause(QObject *context, std::function<void()> step) override;
    [[noreturn]] void endProgram(int exitStatus) override;

private:
    QWidget *window_ = nullptr;
};
