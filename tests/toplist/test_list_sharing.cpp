// No result is lost: processes sharing one lista99.txt, a save retried at
// quitting, a list deleted, a save killed half-way, a list shared through
// group rights, and a list that lives behind a symlink.
#include "WindowFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSysInfo>
#include <algorithm>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString listFile = QStringLiteral("lista99.txt");
const QString anna = QStringLiteral("Anna");
const QStringList programFiles{listFile, QStringLiteral("nimet.txt")};  // nothing temporary left

// The folder's files, but the games file's own (pelit.sqlite and beside it).
QStringList filesIn(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    files.removeIf([](const QString &name) { return name.startsWith(QStringLiteral("pelit.sqlite")); });
    return files;
}

// The names on the list in the file; none unless it is whole with fitting check numbers.
QStringList storedNames(const ProgramFolder &folder)
{
    const std::optional<BestListFile> file = parseBestList(folder.read(listFile), nullptr);
    if (!file || file->stored != computeCheckNumbers(file->list))
        return {};
    return QStringList(file->list.names.begin(), file->list.names.begin() + bestListPlaces);
}

// The names of the folder's first list with these results entered.
QStringList namesWith(const QList<ListEntry> &entries)
{
    BestList list = makeList([](int i) { return 300 - 2 * i; });
    for (const ListEntry &entry : entries)
        enterResult(list, entry);
    return QStringList(list.names.begin(), list.names.begin() + bestListPlaces);
}

// Starts list_user (see sharing/list_user.cpp); true once it is ready to go.
bool startUser(QProcess &user, const QStringList &args, const QString &program = QStringLiteral(LIST_USER_PATH))
{
    user.start(program, args);
    return user.waitForReadyRead(20000) && user.readLine() == "ready\n";
}

// list_user's arguments for one result, Toinen's 299, its save keeping the lock `holdMs`.
QStringList toinen299(const ProgramFolder &folder, int holdMs = 0)
{
    return {folder.path(), QStringLiteral("Toinen"), QStringLiteral("299"), QStringLiteral("1"),
            QString::number(holdMs)};
}
const ListEntry toinen{QStringLiteral("Toinen299"), {}, 299};

bool go(QProcess &user)
{
    return user.write("go\n") == 3 && user.waitForBytesWritten();
}

// Rights stop nothing for root: there the process runs as "nobody".
void runAsAPlayer(QProcess &user)
{
    user.setChildProcessModifier([] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0
                                 || ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(3);
    });
}

// list_user copied into `dir`, which everyone may enter: the build may lie
// where only its owner may, such as root's home.
bool copyListUserInto(const QTemporaryDir &dir)
{
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther;
    const QString copy = dir.filePath(QStringLiteral("list_user"));
    return QFile::copy(QStringLiteral(LIST_USER_PATH), copy) && QFile::setPermissions(copy, everyone)
           && QFile::setPermissions(dir.path(), everyone);
}

// Whether the player runs list_user at `program` (given no arguments, it exits with 2).
bool aPlayerRuns(const QString &program)
{
    QProcess probe;
    runAsAPlayer(probe);
    probe.start(program, {});
    return probe.waitForFinished() && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 2;
}

// The lock file of a Kopperi on this machine that crashed while saving.
QByteArray staleLock()
{
    QProcess gone;
    gone.start(QStringLiteral("true"));
    const qint64 pid = gone.waitForStarted() ? gone.processId() : 0;
    gone.waitForFinished();
    return QByteArray::number(pid) + "\nkopperi\n" + QSysInfo::machineHostName().toUtf8() + '\n';
}

// Anna's 251 entered as the end of a game leaves the name entry, then OK.
void enterAnna(Form1 &f)
{
    f.grandTotal[0] = 251;  // player 1's, the last to choose in a fresh window
    f.listPlace = 1;        // the save puts the result where its score earns a place
    f.Txt99ListaNimi->setText(anna);
    f.Cmd99ListaOK_Click();
}

} // namespace

class TestListSharing : public QObject {
    Q_OBJECT

private slots:
    void twoProcessesEnteringAtOnceLoseNothing()
    {
        ProgramFolder folder;
        QMap<int, QString> byScore;  // the old records and every new one
        for (int i = 0; i < bestListPlaces; ++i)
            byScore[300 - 2 * i] = QStringLiteral("Nimi%1").arg(i + 1);
        // Odd scores no other record has: A 105, 109, ... and B 107, 111, ...
        for (int k = 0; k < 120; ++k)
            byScore[105 + 2 * k] = QStringLiteral("AB").mid(k % 2, 1) + QString::number(105 + 2 * k);
        QProcess users[2];
        for (int u = 0; u < 2; ++u)
            QVERIFY(startUser(users[u], {folder.path(), QStringLiteral("AB").mid(u, 1), QString::number(105 + 2 * u),
                                         QStringLiteral("60"), QStringLiteral("0")}));
        for (QProcess &user : users)  // both at once; QProcess hands its buffer over only when asked
            QVERIFY(go(user));
        for (QProcess &user : users)
            QVERIFY2(user.waitForFinished(120000) && user.exitCode() == 0, qPrintable(user.readAllStandardError()));
        QStringList expected = byScore.values();
        std::reverse(expected.begin(), expected.end());
        QCOMPARE(storedNames(folder), expected.mid(0, bestListPlaces));
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void entryWaitsWhileAnotherProcessHoldsTheLock()
    {
        ProgramFolder folder;
        Window w(folder);
        QVERIFY(w.loaded);
        QProcess holder;
        QVERIFY(startUser(holder, toinen299(folder, 400)));
        QVERIFY(go(holder));
        QVERIFY(holder.waitForReadyRead(20000) && holder.readLine() == "locked\n");
        enterAnna(*w);
        QVERIFY(holder.waitForFinished() && holder.exitCode() == 0 && w.platform.messages.isEmpty());
        QCOMPARE(storedNames(folder).indexOf(toinen.name), 1);
        QCOMPARE(storedNames(folder).indexOf(anna), 26);
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void aFailedSaveIsTriedAgainAtQuitting_data()
    {
        QTest::addColumn<bool>("listDeleted");  // while the window was open
        QTest::addColumn<int>("answer");        // to the question at quitting; -1: mended before, none asked
        QTest::newRow("mended before quitting: stored unasked") << false << -1;
        QTest::newRow("deleted too, mended before quitting: written anew") << true << -1;
        QTest::newRow("still failing at quitting: No gives the result up") << false << 0;
        QTest::newRow("still failing at quitting: Yes once mended stores it") << false << 1;
    }

    void aFailedSaveIsTriedAgainAtQuitting()
    {
        QFETCH(bool, listDeleted);
        QFETCH(int, answer);
        ProgramFolder folder;
        const QByteArray before = folder.read(listFile);
        const QString where = QFileInfo(folder.file(listFile)).canonicalFilePath();
        const QByteArray folderPath = QFile::encodeName(folder.path());
        Window w(folder);
        QVERIFY(w.loaded);
        if (listDeleted)
            folder.remove(listFile);
        QVERIFY(listDeleted || ::chmod(QFile::encodeName(where).constData(), 0444) == 0);
        QCOMPARE(::chmod(folderPath.constData(), 0555), 0);
        // Rights stop nothing for root: then the folder is given to "nobody", who acts.
        const bool root = ::geteuid() == 0;
        const auto rootAgain = qScopeGuard([root] {
            if (root && ::seteuid(0) != 0)
                qFatal("cannot become root again");
        });
        QVERIFY(!root || (::chown(folderPath.constData(), 65534, 65534) == 0 && ::seteuid(65534) == 0));
        struct stat reached {};
        if (root && ::stat(folderPath.constData(), &reached) != 0)
            QSKIP(qPrintable(QStringLiteral("the player \"nobody\" cannot reach the list in %1: the temporary folder "
                                            "is closed to other users")
                                 .arg(QDir::tempPath())));
        enterAnna(*w);
        const QString text = w.platform.messages.value(0).text;
        QVERIFY2(w.platform.messages.size() == 1 && text.startsWith("99-listaa ei voitu tallentaa:\r" + where + '\r')
                     && text.contains(listDeleted ? "\rLISTA99.TXT puuttuu, eikä uutta voitu kirjoittaa.\r"
                                                  : "\rAiempi LISTA99.TXT säilyy ennallaan.\r"),
                 qPrintable(text));
        const auto shown = [](EventLabel *row) { return row->caption() == anna; };
        QVERIFY(std::any_of(w->Lbl99Nimi.begin(), w->Lbl99Nimi.end(), shown));  // still in the view
        const auto mend = [&folderPath](const QString & = {}) { ::chmod(folderPath.constData(), 0755); };
        if (answer < 0)
            mend();
        else
            w.platform.answers << (answer == 1);
        if (answer == 1)
            w.platform.beforeAnswer = mend;
        click(w->CmdLopetaPeli);
        QVERIFY(w.platform.ended);
        QCOMPARE(w.platform.questions.size(), answer < 0 ? 0 : 1);
        const QString question = w.platform.questions.value(0);
        QVERIFY2(answer < 0 || question.contains(where + "\rKäyttöoikeudet eivät riitä.\r"), qPrintable(question));
        if (answer == 0)
            QCOMPARE(folder.read(listFile), before);
        else
            QCOMPARE(storedNames(folder), namesWith({{anna, {}, 251}}));
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void aListDeletedWhileTheWindowIsOpenIsWrittenAnew_data()
    {
        QTest::addColumn<bool>("anotherFirst");
        QTest::newRow("by the window, from the list it shows") << false;
        QTest::newRow("by another process while the window waits for its lock") << true;
    }

    void aListDeletedWhileTheWindowIsOpenIsWrittenAnew()
    {
        QFETCH(bool, anotherFirst);
        ProgramFolder folder;
        Window w(folder);
        QVERIFY(w.loaded);
        QProcess other;
        QVERIFY(startUser(other, toinen299(folder, anotherFirst ? 400 : 0)));
        folder.remove(listFile);
        if (anotherFirst)
            QVERIFY(go(other) && other.waitForReadyRead(20000) && other.readLine() == "locked\n");
        enterAnna(*w);
        QVERIFY2(w.platform.messages.isEmpty(), qPrintable(w.platform.messages.value(0).text));
        QVERIFY(anotherFirst || go(other));
        QVERIFY2(other.waitForFinished() && other.exitCode() == 0, qPrintable(other.readAllStandardError()));
        QCOMPARE(storedNames(folder), namesWith({toinen, {anna, {}, 251}}));
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void aSaveKilledHalfWayHoldsNothingUp_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<bool>("temporaryLeft");
        QTest::newRow("its lock left: the entry takes it over") << staleLock() << false;
        QTest::newRow("its lock and temporary file left: start-up removes the file") << staleLock() << true;
        QTest::newRow("its lock left empty, killed as it made it") << QByteArray() << false;
    }

    void aSaveKilledHalfWayHoldsNothingUp()
    {
        QFETCH(QByteArray, lock);
        QFETCH(bool, temporaryLeft);
        ProgramFolder folder;
        const QByteArray before = folder.read(listFile);
        folder.write(listFile + ".lock", lock);
        if (temporaryLeft)
            folder.write(temporarySaveName(listFile), before.left(1000));
        QElapsedTimer clock;
        clock.start();
        Window w(folder);
        QVERIFY(w.loaded);
        QVERIFY(!QFile::exists(folder.file(temporarySaveName(listFile))));
        QCOMPARE(folder.read(listFile), before);
        enterAnna(*w);
        QVERIFY2(w.platform.messages.isEmpty(), qPrintable(w.platform.messages.value(0).text));
        QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));  // no wait on a lock left
        QCOMPARE(storedNames(folder), namesWith({{anna, {}, 251}}));
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    // A folder that only its owner may write, with a list that the group may:
    // a lock the owner's crash left there could never be removed.
    void aListSharedThroughGroupRightsIsRewrittenInPlace_data()
    {
        QTest::addColumn<bool>("cutShort");
        QTest::newRow("past the lock the owner's crash left, at once") << false;
        QTest::newRow("a write cut short puts the old bytes back") << true;
    }

    void aListSharedThroughGroupRightsIsRewrittenInPlace()
    {
        QFETCH(bool, cutShort);
        QTemporaryDir helperFolder;
        const QString helper = helperFolder.filePath(QStringLiteral("list_user"));
        QVERIFY(copyListUserInto(helperFolder));
        if (!aPlayerRuns(helper))
            QSKIP(qPrintable(QStringLiteral("the player \"nobody\" cannot run a program in %1: other users cannot "
                                            "reach the temporary folder, where the list lies too")
                                 .arg(QDir::tempPath())));
        ProgramFolder folder;
        const QByteArray before = folder.read(listFile);
        folder.write(listFile + ".lock", staleLock());
        const QByteArray folderPath = QFile::encodeName(folder.path());
        QCOMPARE(::chmod(QFile::encodeName(folder.file(listFile)).constData(), 0666), 0);
        QCOMPARE(::chmod(folderPath.constData(), 0555), 0);
        const auto removable = qScopeGuard([&folderPath] { ::chmod(folderPath.constData(), 0700); });
        QProcess player;
        runAsAPlayer(player);
        player.setWorkingDirectory(helperFolder.path());  // the test's own may be closed to the player
        // A file size limit of the old list's size cuts the longer new one short.
        const QStringList sizeLimit = cutShort ? QStringList{QString::number(before.size())} : QStringList{};
        QVERIFY(startUser(player, toinen299(folder) + sizeLimit, helper));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(go(player) && player.waitForFinished());
        const QString failure = QString::fromLocal8Bit(player.readAllStandardError());
        QVERIFY2(player.exitCode() == (cutShort ? 1 : 0), qPrintable(failure));
        if (cutShort) {
            QCOMPARE(folder.read(listFile), before);
        } else {
            QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(storedNames(folder), namesWith({toinen}));
        }
        QCOMPARE(filesIn(folder.path()), QStringList({listFile, listFile + ".lock", programFiles[1]}));
    }

    // Another window stores a better result while this one plays its last turn.
    void thePlaceOfferedIsThePlaceTheResultTakes_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("place");  // 0: none
        QTest::newRow("pushed one place down") << 251 << 27;
        QTest::newRow("pushed off the list") << 105 << 0;
    }

    void thePlaceOfferedIsThePlaceTheResultTakes()
    {
        QFETCH(int, total);
        QFETCH(int, place);
        ProgramFolder folder;
        Window w(folder);
        WaitGuard guard(w);
        startGame(*w, 1, {anna});
        PlannedGame game(*w, {total});
        game.playToLastScore();
        QProcess other;
        QVERIFY(startUser(other, toinen299(folder)));
        QVERIFY(go(other) && other.waitForFinished() && other.exitCode() == 0);
        QString offered;
        if (place)
            whenWaiting(w.form.get(), [&] {
                offered = w->Lbl99Listalle4->caption();
                click(w->Cmd99ListaOK);
            });
        game.playLastScore();
        QVERIFY(!guard.fired() && w->gameOver);
        QCOMPARE(offered, place ? QStringLiteral("sijalle numero: %1").arg(place) : QString());
        QCOMPARE(storedNames(folder).indexOf(anna) + 1, place);
    }

    void symlinkedListIsUpdatedAtItsTarget()
    {
        ProgramFolder folder;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("oma.txt"));
        QVERIFY(QFile::rename(folder.file(listFile), target) && QFile::link(target, folder.file(listFile)));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0640), 0);  // not the mode a new file gets
        Window w(folder);
        QVERIFY(w.loaded);
        enterAnna(*w);
        QVERIFY2(w.platform.messages.isEmpty(), qPrintable(w.platform.messages.value(0).text));
        QVERIFY(QFileInfo(folder.file(listFile)).isSymLink());
        QCOMPARE(storedNames(folder).indexOf(anna), 25);
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0 && (st.st_mode & 07777) == 0640);
        QCOMPARE(filesIn(elsewhere.path()), QStringList{QStringLiteral("oma.txt")});
        QCOMPARE(filesIn(folder.path()), programFiles);
    }
};

QTEST_MAIN(TestListSharing)
#include "test_list_sharing.moc"
