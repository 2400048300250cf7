// list_user: another Kopperi using the same lista99.txt, for the tests of
// windows sharing one list.
//
//   list_user enter <folder> <name prefix> <first score> <step> <count>
//     starts a window in <folder>, prints "ready", waits for a line on its
//     input, then enters <count> results through the window's OK button:
//     scores <first>, <first> + <step>, ..., named <prefix><score>. Exits 1
//     if any entry showed a message.
//   list_user hold <folder> <ms> <name> <score>
//     takes the list's lock, enters one result, prints "locked" and keeps the
//     lock <ms> milliseconds before it writes the list.

#include "FakePlatform.h"
#include "toplist/SafeListWrite.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

int enter(const QString &folder, const QString &prefix, int first, int step, int count)
{
    FakePlatform platform;
    platform.folder = folder;
    Form1 form(platform);
    if (!form.Form_Load()) {
        std::fprintf(stderr, "list_user: start-up failed\n");
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);

    for (int k = 0; k < count; ++k) {
        const int score = first + k * step;
        int place = 0;
        while (place < bestListPlaces && score <= form.bestScores[std::size_t(place)])
            ++place;
        if (place == bestListPlaces)
            continue;  // the list this window knows has no place for it
        form.lastPlayer = 0;
        form.grandTotal[0] = std::int16_t(score);
        form.listPlace = std::int16_t(place + 1);
        form.Txt99ListaNimi->setText(prefix + QString::number(score));
        form.listEntryDone = false;
        form.Cmd99ListaOK_Click();
    }
    for (const FakePlatform::Message &message : platform.messages)
        std::fprintf(stderr, "list_user: %s\n", qPrintable(message.text));
    return platform.messages.isEmpty() && !form.hasUnsavedResults() ? 0 : 1;
}

int hold(const QString &folder, int ms, const QString &name, int score)
{
    const ListChangeOutcome outcome =
        changeBestListFile(QDir(folder).filePath(QStringLiteral("lista99.txt")), [&](BestList &list) {
            enterResult(list, {name, QStringLiteral("06.12.26"), std::int16_t(score)});
            std::printf("locked\n");
            std::fflush(stdout);
            QThread::msleep(static_cast<unsigned long>(ms));
        });
    if (!outcome.saved)
        std::fprintf(stderr, "list_user: %s\n", qPrintable(outcome.failure));
    return outcome.saved ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 7 && args[1] == QLatin1String("enter"))
        return enter(args[2], args[3], args[4].toInt(), args[5].toInt(), args[6].toInt());
    if (args.size() == 6 && args[1] == QLatin1String("hold"))
        return hold(args[2], args[3].toInt(), args[4], args[5].toInt());
    std::fprintf(stderr, "usage: list_user enter <folder> <prefix> <first> <step> <count>\n"
                         "       list_user hold <folder> <ms> <name> <score>\n");
    return 2;
}
