#pragma once

#include "FakePlatform.h"
#include "scoring/ScoringRules.h"
#include "toplist/BestListFile.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// A program folder of its own for every test, holding nimet.txt and lista99.txt.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    void remove(const QString &name) const;

private:
    QTemporaryDir dir_;
};

// A valid list whose place i + 1 (i = 0..98) has score `score(i)`, named
// "Nimi<i+1>" and dated 01.01.26.
BestList makeList(const std::function<int(int)> &score);
QByteArray listFileBytes(const BestList &list);

// The window started in `folder` with the fake platform, shown offscreen.
struct Window {
    FakePlatform platform;
    std::unique_ptr<Form1> form;
    bool loaded = false;

    explicit Window(const ProgramFolder &folder);
    Form1 &operator*() { return *form; }
    Form1 *operator->() { return form.get(); }
};

// Clicks as a player does: a press and release on the control.
void click(QWidget *widget);
// Chooses a menu item; fails the test when its menu is disabled.
bool choose(QMenu *menu, QAction *item);

// The start screen: choose the player count, type the names, start.
void startGame(Form1 &form, int players, const QStringList &names = {});
// Throws all dice and makes them show `values`, as if the generator had thrown them.
void throwAll(Form1 &form, const Dice &values);
// Throws, keeps all and records the dice in the row of `code` for the player to play.
void record(Form1 &form, int code, const Dice &values);

// Runs `action` as soon as the event loop is entered again (to answer the
// best-99 name entry while the window waits for it).
void whenWaiting(std::function<void()> action);
