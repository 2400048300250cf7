#include "ui/QtPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

// The program's texts separate lines with a single carriage return.
QString withLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

QString QtPlatform::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

bool QtPlatform::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), withLineBreaks(text),
                    QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    // Finnish in any locale, with or without Qt's translations.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Kyllä"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Ei"));
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::showMessage(const QString &text, Icon icon)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Information,
                    QApplication::applicationDisplayName(), withLineBreaks(text), QMessageBox::Ok, window_);
    // A message may quote a file's line or path: plain text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtPlatform::beep()
{
    QApplication::beep();
}

QTime QtPlatform::timeOfDay()
{
    return QTime::currentTime();
}

QDate QtPlatform::today()
{
    return QDate::currentDate();
}

void QtPlatform::pauseBetweenDice()
{
    QThread::msleep(dicePauseMs);
}

void QtPlatform::deliverPendingInput()
{
    // The window system's events may take more than one pass to arrive; a
    // bound keeps a flood of them from holding the window. Timers and other
    // sockets (a screen reader's requests) wait until the handler is done.
    QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers | QEventLoop::ExcludeSocketNotifiers, pendingInputMs);
}

void QtPlatform::afterComputerPause(QObject *context, std::function<void()> step)
{
    QTimer::singleShot(computerStepMs, context, std::move(step));
}

void QtPlatform::endProgram(int exitStatus)
{
    // At once: no event loop is left, no handler or save runs after this.
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}
