// No result is lost: processes sharing one lista99.txt, a save retried at
// quitting, and a list that lives behind a symlink.
#include "WindowFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
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

// The names on the list in the file; none unless it is whole with fitting check numbers.
QStringList storedNames(const ProgramFolder &folder)
{
    const std::optional<BestListFile> file = parseBestList(folder.read(listFile), nullptr);
    if (!file || file->stored != computeCheckNumbers(file->list))
        return {};
    return QStringList(file->list.names.begin(), file->list.names.begin() + bestListPlaces);
}

// Starts list_user (see sharing/list_user.cpp); true once it is ready to go.
bool startUser(QProcess &user, const QStringList &args)
{
    user.start(QStringLiteral(LIST_USER_PATH), args);
    return user.waitForReadyRead(20000) && user.readLine() == "ready\n";
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
            QVERIFY(user.write("go\n") == 3 && user.waitForBytesWritten());
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
        QVERIFY(startUser(holder, {folder.path(), QStringLiteral("Toinen"), QStringLiteral("299"), QStringLiteral("1"),
                                   QStringLiteral("400")}));
        QVERIFY(holder.write("go\n") == 3 && holder.waitForBytesWritten());
        QVERIFY(holder.waitForReadyRead(20000) && holder.readLine() == "locked\n");
        enterAnna(*w);
        QVERIFY(holder.waitForFinished() && holder.exitCode() == 0 && w.platform.messages.isEmpty());
        QCOMPARE(storedNames(folder).indexOf(QStringLiteral("Toinen299")), 1);
        QCOMPARE(storedNames(folder).indexOf(anna), 26);
        QCOMPARE(filesIn(folder.path()), programFiles);
    }

    void saveIntoReadOnlyFolderIsRetriedAtQuitting()
    {
        ProgramFolder folder;
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
        const QString text = w.platform.messages.value(0).text;
        QVERIFY2(w.platform.messages.size() == 1 && text.startsWith("99-listaa ei voitu tallentaa:\r" + where + '\r'),
                 qPrintable(text));
        const auto shown = [](EventLabel *row) { return row->caption() == anna; };
        QVERIFY(std::any_of(w->Lbl99Nimi.begin(), w->Lbl99Nimi.end(), shown));  // still in the view
        QCOMPARE(::chmod(folderPath.constData(), 0755), 0);
        click(w->CmdLopetaPeli);
        QVERIFY(w.platform.ended && w.platform.questions.isEmpty());
        QCOMPARE(storedNames(folder).indexOf(anna), 25);
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
        QCOMPARE(storedNames(folder).indexOf(anna), 25);
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0 && (st.st_mode & 07777) == 0640);
        QCOMPARE(filesIn(elsewhere.path()), QStringList{QStringLiteral("oma.txt")});
        QCOMPARE(filesIn(folder.path()), programFiles);
    }
};

QTEST_MAIN(TestListSharing)
#include "test_list_sharing.moc"
