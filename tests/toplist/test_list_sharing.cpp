// No result is lost: processes sharing one lista99.txt, a save retried at
// quitting, and a list that lives behind a symlink.
#include "WindowFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString listFile = QStringLiteral("lista99.txt");
const QString anna = QStringLiteral("Anna");
const QStringList programFiles{listFile, QStringLiteral("nimet.txt")};  // nothing temporary left

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// The list in the file; empty unless it is whole with fitting check numbers.
BestList storedList(const ProgramFolder &folder)
{
    const std::optional<BestListFile> file = parseBestList(folder.read(listFile), nullptr);
    return file && file->stored == computeCheckNumbers(file->list) ? file->list : BestList{};
}

// The place (1-based) of the record with this name, 0 when it is not listed.
int placeOf(const BestList &list, const QString &name)
{
    const auto at = std::find(list.names.begin(), list.names.begin() + bestListPlaces, name);
    return at == list.names.begin() + bestListPlaces ? 0 : int(at - list.names.begin()) + 1;
}

QByteArray nextLine(QProcess &process)
{
    while (!process.canReadLine() && process.waitForReadyRead(20000)) {
    }
    return process.readLine();
}

// Starts list_user (see sharing/list_user.cpp) and lets it go once it is ready.
bool startUser(QProcess &user, const QStringList &args)
{
    user.start(QStringLiteral(LIST_USER_PATH), args);
    // QProcess hands its buffer over only when asked.
    return nextLine(user) == "ready\n" && user.write("go\n") == 3 && user.waitForBytesWritten();
}

// Anna's 251 entered as the end of a game leaves the name entry, then OK.
void enterAnna(Form1 &f)
{
    f.lastPlayer = 0;
    f.grandTotal[0] = 251;
    f.listPlace = 1;  // the save puts the result where its score earns a place
    f.Txt99ListaNimi->setText(anna);
    f.listEntryDone = false;
    f.Cmd99ListaOK_Click();
}

} // namespace

class TestListSharing : public QObject {
    Q_OBJECT

private slots:
    void twoProcessesEnteringAtOnceLoseNothing()
    {
        ProgramFolder folder;
        QList<std::pair<int, QString>> all;  // the old records and every new one
        for (int i = 0; i < bestListPlaces; ++i)
            all.append({300 - 2 * i, QStringLiteral("Nimi%1").arg(i + 1)});
        // Odd scores no other record has: A 105, 109, ... and B 107, 111, ...
        for (int k = 0; k < 120; ++k)
            all.append({105 + 2 * k, QStringLiteral("AB").mid(k % 2, 1) + QString::number(105 + 2 * k)});
        QProcess users[2];
        for (int u = 0; u < 2; ++u)
            QVERIFY(startUser(users[u], {folder.path(), QStringLiteral("AB").mid(u, 1),
                                         QString::number(105 + 2 * u), QStringLiteral("60"), QStringLiteral("0")}));
        for (QProcess &user : users) {
            QVERIFY(user.waitForFinished(120000));
            QVERIFY2(user.exitCode() == 0, qPrintable(user.readAllStandardError()));
        }
        std::sort(all.begin(), all.end(), std::greater<>());
        const BestList file = storedList(folder);
        for (std::size_t i = 0; i < std::size_t(bestListPlaces); ++i)
            QCOMPARE(std::make_pair(int(file.scores[i]), file.names[i]), all[qsizetype(i)]);
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void entryWaitsWhileAnotherProcessHoldsTheLock()
    {
        ProgramFolder folder;
        Window w(folder);
        QVERIFY(w.loaded);
        QProcess holder;
        QVERIFY(startUser(holder, {folder.path(), QStringLiteral("Toinen"), QStringLiteral("299"), QStringLiteral("1"),
                                   QStringLiteral("400")}));
        QCOMPARE(nextLine(holder), "locked\n");
        enterAnna(*w);
        QVERIFY(holder.waitForFinished());
        QCOMPARE(holder.exitCode(), 0);
        QVERIFY(w.platform.messages.isEmpty());
        QCOMPARE(placeOf(storedList(folder), QStringLiteral("Toinen299")), 2);
        QCOMPARE(placeOf(storedList(folder), anna), 27);
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void saveIntoReadOnlyFolderIsRetriedAtQuitting()
    {
        ProgramFolder folder;
        const QByteArray before = folder.read(listFile);
        const QString where = QFileInfo(folder.file(listFile)).canonicalFilePath();
        const QByteArray folderPath = QFile::encodeName(folder.path());
        Window w(folder);
        QVERIFY(w.loaded);
        QVERIFY(::chmod(QFile::encodeName(where).constData(), 0444) == 0 && ::chmod(folderPath.constData(), 0555) == 0);
        // Rights stop nothing for root: then the folder is given to "nobody", who acts.
        const bool root = ::geteuid() == 0;
        const auto rootAgain = qScopeGuard([root] {
            if (root && ::seteuid(0) != 0)
                qFatal("cannot become root again");
        });
        QVERIFY(!root || (::chown(folderPath.constData(), 65534, 65534) == 0 && ::seteuid(65534) == 0));

        enterAnna(*w);
        QCOMPARE(w.platform.messages.size(), 1);
        const QString message = w.platform.messages[0].text;
        QVERIFY2(message.startsWith(QStringLiteral("99-listaa ei voitu tallentaa:\r") + where + u'\r'), qPrintable(message));
        QCOMPARE(folder.read(listFile), before);
        QVERIFY(std::any_of(w->Lbl99Nimi.begin(), w->Lbl99Nimi.end(), [](EventLabel *l) { return l->caption() == anna; }));

        QCOMPARE(::chmod(folderPath.constData(), 0755), 0);
        click(w->CmdLopetaPeli);
        QVERIFY(w.platform.ended && w.platform.questions.isEmpty());
        QCOMPARE(placeOf(storedList(folder), anna), 26);
        QCOMPARE(filesIn(folder.path()), programFiles);
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
        QCOMPARE(placeOf(storedList(folder), anna), 26);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(filesIn(elsewhere.path()), QStringList{QStringLiteral("oma.txt")});
        QCOMPARE(filesIn(folder.path()), programFiles);
    }
};

QTEST_MAIN(TestListSharing)
#include "test_list_sharing.moc"
