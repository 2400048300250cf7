#pragma once

#include "game/Platform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QStringList>
#include <QTime>
#include <QTimer>
#include <functional>

// The platform as tests see it: questions are answered from a queue, notices
// are recorded, the clock and the date are whatever the test sets, there is
// no pause between dice, and ending the program is only noted. Input a test
// posts stands for the window system's queue.
class FakePlatform : public Platform {
public:
    struct Message {
        QString text;
        Icon icon;
    };

    QString folder;
    QList<bool> answers;            // next Yes/No answers; an unexpected question gets No
    QStringList questions;          // every question asked
    QList<Message> messages;        // every notice shown
    int beeps = 0;
    int pauses = 0;
    QString time = QStringLiteral("12:00:00");  // the clock, as "HH:mm:ss"
    QDate date{2026, 12, 7};
    bool ended = false;
    int exitStatus = -1;
    int unexpectedQuestions = 0;
    std::function<void()> duringPause;  // runs in every pause: input made while the dice land

    // Runs before each question is answered (to change the world the
    // answer's retry will find).
    std::function<void(const QString &)> beforeAnswer;

    QString programFolder() override { return folder; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        if (beforeAnswer)
            beforeAnswer(text);
        if (answers.isEmpty()) {
            ++unexpectedQuestions;
            return false;
        }
        return answers.takeFirst();
    }
    void showMessage(const QString &text, Icon icon) override { messages << Message{text, icon}; }
    void beep() override { ++beeps; }
    QTime timeOfDay() override
    {
        const QTime clock = QTime::fromString(time, QStringLiteral("HH:mm:ss"));
        if (!clock.isValid())
            qFatal("FakePlatform: the clock \"%s\" is not HH:mm:ss", qPrintable(time));
        return clock;
    }
    QDate today() override { return date; }
    void pauseBetweenDice() override
    {
        ++pauses;
        if (duringPause)
            duringPause();
    }
    void deliverPendingInput() override
    {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::KeyPress, QEvent::KeyRelease, QEvent::Wheel})
            QCoreApplication::sendPostedEvents(nullptr, type);
    }
    // The computer's steps come at once, from the event loop; or, while
    // `computerWaits`, one at a time when the test runs them.
    bool computerWaits = false;
    std::function<void()> computerStep;
    void afterComputerPause(QObject *context, std::function<void()> step) override
    {
        if (computerWaits)
            computerStep = std::move(step);
        else
            QTimer::singleShot(0, context, std::move(step));
    }
    // Runs the step the computer waits to take; false when none waits.
    bool runComputerStep()
    {
        const std::function<void()> step = std::move(computerStep);
        computerStep = nullptr;
        if (step)
            step();
        return bool(step);
    }
    void endProgram(int status) override
    {
        ended = true;
        exitStatus = status;
    }
};
