// No result is lost: windows and processes sharing one lista99.txt, saves
// that fail and are retried, and a list that lives behind a symlink or in a
// folder that cannot be written.
#include "WindowFixture.h"

#include "game/Windows1252.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>
#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString listFile = QStringLiteral("lista99.txt");
const QString retryQuestion = QStringLiteral("Tuloksia ei ole tallennettu 99-listaan. Yritetäänkö uudelleen?");

BestList usualList()
{
    return makeList([](int i) { return 300 - 2 * i; });
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

const QStringList programFiles{listFile, QStringLiteral("nimet.txt")};

BestList recordsOf(const QByteArray &bytes)
{
    const std::optional<BestListFile> file = parseBestList(bytes, nullptr);
    return file ? file->list : BestList{};
}

bool checkNumbersFit(const QByteArray &bytes)
{
    const std::optional<BestListFile> file = parseBestList(bytes, nullptr);
    return file && file->stored == computeCheckNumbers(file->list);
}

// The 99 places alike (the spill slot aside).
bool samePlaces(const BestList &x, const BestList &y)
{
    return std::equal(x.names.begin(), x.names.begin() + bestListPlaces, y.names.begin())
        && std::equal(x.dates.begin(), x.dates.begin() + bestListPlaces, y.dates.begin())
        && std::equal(x.scores.begin(), x.scores.begin() + bestListPlaces, y.scores.begin());
}

// The place (1-based) of the record with this name, 0 when it is not listed.
int placeOf(const BestList &list, const QString &name)
{
    for (int i = 0; i < bestListPlaces; ++i) {
        if (list.names[std::size_t(i)] == name)
            return i + 1;
    }
    return 0;
}

// Whether a row of the view shows this name with this score.
bool viewShows(const Form1 &f, const QString &name, int score)
{
    for (std::size_t r = 0; r < 13; ++r) {
        if (f.Lbl99Nimi[r]->caption() == name && f.Lbl99Tulos[r]->caption() == QString::number(score))
            return true;
    }
    return false;
}

// The name entry as the end of a game leaves it, then OK.
void enter(Form1 &f, const QString &name, int total)
{
    int place = 0;
    while (place < bestListPlaces && total <= f.bestScores[std::size_t(place)])
        ++place;
    f.lastPlayer = 0;
    f.grandTotal[0] = std::int16_t(total);
    f.listPlace = std::int16_t(place + 1);
    f.Txt99ListaNimi->setText(name);
    f.listEntryDone = false;
    f.Cmd99ListaOK_Click();
}

bool waitForLine(QProcess &process, const QByteArray &line)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(20000))
            return false;
    }
    return process.readLine() == line + '\n';
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// How a save is made to fail until mended. Permissions stop nothing for root,
// so a test running as root hands the folder to the user "nobody" and acts as
// that user (seteuid) until the end of the scope; a file size limit fails the
// write as a full disk would, for root too.
enum class Trouble { readOnlyFolder, fullDisk, folderOnlyReadable };

class SavingTrouble {
public:
    SavingTrouble(Trouble trouble, const QString &folder) : trouble_(trouble), folder_(folder)
    {
        if (trouble == Trouble::fullDisk) {
            getrlimit(RLIMIT_FSIZE, &saved_);
            oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved_;
            small.rlim_cur = 1000;  // the list takes about 3.5 kB
            ok_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
            return;
        }
        if (::geteuid() == 0) {
            constexpr uid_t nobody = 65534;
            QStringList names = filesIn(folder);
            names << QString();  // the folder itself
            for (const QString &name : names)
                if (::lchown(QFile::encodeName(QDir(folder).filePath(name)).constData(), nobody, nobody) != 0)
                    return;
            if (::seteuid(nobody) != 0)
                return;
            asNobody_ = true;
        }
        const QByteArray list = QFile::encodeName(QDir(folder).filePath(listFile));
        ok_ = ::chmod(list.constData(), trouble == Trouble::readOnlyFolder ? 0444 : 0666) == 0
            && ::chmod(QFile::encodeName(folder).constData(), 0555) == 0;
    }
    ~SavingTrouble()
    {
        mend();
        if (asNobody_ && ::seteuid(0) != 0)
            qFatal("cannot become root again");
    }
    SavingTrouble(const SavingTrouble &) = delete;
    SavingTrouble &operator=(const SavingTrouble &) = delete;

    bool ok() const { return ok_; }
    void mend()
    {
        if (mended_)
            return;
        mended_ = true;
        if (trouble_ == Trouble::fullDisk) {
            setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, oldSignal_);
        } else {
            ::chmod(QFile::encodeName(folder_).constData(), 0755);
        }
    }

private:
    Trouble trouble_;
    QString folder_;
    bool ok_ = false;
    bool asNobody_ = false;
    bool mended_ = false;
    rlimit saved_{};
    void (*oldSignal_)(int) = nullptr;
};

enum class QuitWay { lopetusButton, closeBox, lopetaPeliButton, menu };
enum class Mended { beforeQuitting, atTheQuestion, never };

} // namespace

Q_DECLARE_METATYPE(Trouble)
Q_DECLARE_METATYPE(QuitWay)
Q_DECLARE_METATYPE(Mended)

class TestListSharing : public QObject {
    Q_OBJECT

private slots:
    void twoWindowsOnOneFolderKeepEveryResult();
    void twoProcessesEnteringAtOnceLoseNothing();
    void entryWaitsForAnotherProcessHoldingTheLock_data();
    void entryWaitsForAnotherProcessHoldingTheLock();

    void failedSaveIsKeptAndRetriedAtQuitting_data();
    void failedSaveIsKeptAndRetriedAtQuitting();
    void failedEntryIsStoredByTheNextOne_data();
    void failedEntryIsStoredByTheNextOne();

    void listIsWrittenWhereItLives_data();
    void listIsWrittenWhereItLives();
};

void TestListSharing::twoWindowsOnOneFolderKeepEveryResult()
{
    ProgramFolder folder;
    Window a(folder);
    Window b(folder);
    QVERIFY(a.loaded && b.loaded);

    enter(*a, QStringLiteral("Anna"), 251);
    // B still holds the list it read at start-up.
    QCOMPARE(placeOf(b->best, QStringLiteral("Anna")), 0);
    enter(*b, QStringLiteral("Pekka"), 281);
    enter(*a, QStringLiteral("Aino"), 300);

    const QByteArray bytes = folder.read(listFile);
    QVERIFY(checkNumbersFit(bytes));
    const BestList file = recordsOf(bytes);
    QCOMPARE(placeOf(file, QStringLiteral("Aino")), 2);  // below the older 300
    QCOMPARE(placeOf(file, QStringLiteral("Pekka")), 12);
    QCOMPARE(placeOf(file, QStringLiteral("Anna")), 28);
    QCOMPARE(file.names[98], QStringLiteral("Nimi96"));
    // Each window shows the list as the file has it after its own entry.
    QVERIFY(samePlaces(a->best, file));
    QCOMPARE(placeOf(b->best, QStringLiteral("Anna")), 27);
    b->Scroll99Lista->setValue(20);
    QVERIFY(viewShows(*b, QStringLiteral("Anna"), 251));
    QVERIFY(a.platform.messages.isEmpty() && b.platform.messages.isEmpty());
    QCOMPARE(filesIn(folder.path()), programFiles);
}

void TestListSharing::twoProcessesEnteringAtOnceLoseNothing()
{
    constexpr int count = 60;
    ProgramFolder folder;
    // Odd scores that no other entry shares: A 105, 109, ... and B 107, 111, ...
    QProcess users[2];
    const QStringList prefixes{QStringLiteral("A"), QStringLiteral("B")};
    for (int u = 0; u < 2; ++u) {
        users[u].start(QStringLiteral(LIST_USER_PATH),
                       {QStringLiteral("enter"), folder.path(), prefixes[u], QString::number(105 + 2 * u),
                        QStringLiteral("4"), QString::number(count)});
        QVERIFY2(waitForLine(users[u], "ready"), qPrintable(users[u].readAllStandardError()));
    }
    // Both are told at once; QProcess hands its buffer over only when asked.
    for (QProcess &user : users) {
        user.write("go\n");
        QVERIFY(user.waitForBytesWritten());
    }
    for (QProcess &user : users) {
        QVERIFY(user.waitForFinished(120000));
        QVERIFY2(user.exitCode() == 0, qPrintable(user.readAllStandardError()));
    }

    // Every result that earns a place among the old records and all the others.
    struct Record {
        QString name;
        int score;
    };
    QList<Record> all;
    const BestList old = usualList();
    for (int i = 0; i < bestListPlaces; ++i)
        all.append({old.names[std::size_t(i)], old.scores[std::size_t(i)]});
    for (int u = 0; u < 2; ++u) {
        for (int k = 0; k < count; ++k) {
            const int score = 105 + 2 * u + 4 * k;
            all.append({prefixes[u] + QString::number(score), score});
        }
    }
    std::sort(all.begin(), all.end(), [](const Record &x, const Record &y) { return x.score > y.score; });

    const QByteArray bytes = folder.read(listFile);
    QVERIFY(checkNumbersFit(bytes));
    const BestList file = recordsOf(bytes);
    for (int i = 0; i < bestListPlaces; ++i) {
        QCOMPARE(file.names[std::size_t(i)], all[i].name);
        QCOMPARE(int(file.scores[std::size_t(i)]), all[i].score);
    }
    QCOMPARE(filesIn(folder.path()), programFiles);
}

void TestListSharing::entryWaitsForAnotherProcessHoldingTheLock_data()
{
    QTest::addColumn<bool>("holderCrashes");
    QTest::newRow("another window saving") << false;
    QTest::newRow("a window that crashed while saving") << true;
}

void TestListSharing::entryWaitsForAnotherProcessHoldingTheLock()
{
    QFETCH(bool, holderCrashes);
    constexpr int holdMs = 400;
    ProgramFolder folder;
    Window w(folder);
    QVERIFY(w.loaded);

    QProcess holder;
    holder.start(QStringLiteral(LIST_USER_PATH), {QStringLiteral("hold"), folder.path(),
                                                  QString::number(holderCrashes ? 60000 : holdMs),
                                                  QStringLiteral("Toinen"), QStringLiteral("299")});
    QVERIFY2(waitForLine(holder, "locked"), qPrintable(holder.readAllStandardError()));
    QElapsedTimer clock;
    clock.start();
    if (holderCrashes) {
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QVERIFY(QFile::exists(folder.file(listFile + QStringLiteral(".lock"))));
    }
    enter(*w, QStringLiteral("Anna"), 251);
    const qint64 waited = clock.elapsed();

    QVERIFY(w.platform.messages.isEmpty());
    QVERIFY(!w->hasUnsavedResults());
    const BestList file = recordsOf(folder.read(listFile));
    QVERIFY(samePlaces(w->best, file));
    if (holderCrashes) {
        QVERIFY2(waited < 2500, qPrintable(QString::number(waited)));  // the dead holder's lock is taken over at once
        QCOMPARE(placeOf(file, QStringLiteral("Toinen")), 0);
        QCOMPARE(placeOf(file, QStringLiteral("Anna")), 26);
    } else {
        QVERIFY2(waited >= holdMs / 2, qPrintable(QString::number(waited)));
        QVERIFY(holder.waitForFinished());
        QCOMPARE(holder.exitCode(), 0);
        QCOMPARE(placeOf(file, QStringLiteral("Toinen")), 2);
        QCOMPARE(placeOf(file, QStringLiteral("Anna")), 27);
    }
    QCOMPARE(filesIn(folder.path()), programFiles);
}

void TestListSharing::failedSaveIsKeptAndRetriedAtQuitting_data()
{
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<QuitWay>("way");
    QTest::addColumn<Mended>("mended");
    QTest::addColumn<QList<bool>>("retryAnswers");

    QTest::newRow("read-only folder, \"&Lopetus\", mended at the question, Yes")
        << Trouble::readOnlyFolder << QuitWay::lopetusButton << Mended::atTheQuestion << QList<bool>{true};
    QTest::newRow("read-only folder, the menu, mended before quitting")
        << Trouble::readOnlyFolder << QuitWay::menu << Mended::beforeQuitting << QList<bool>{};
    QTest::newRow("read-only folder, the close box, never mended: Yes, then No")
        << Trouble::readOnlyFolder << QuitWay::closeBox << Mended::never << QList<bool>{true, false};
    QTest::newRow("full disk, the close box, mended before quitting")
        << Trouble::fullDisk << QuitWay::closeBox << Mended::beforeQuitting << QList<bool>{};
    QTest::newRow("full disk, \"&Lopeta peli\", mended at the question, Yes")
        << Trouble::fullDisk << QuitWay::lopetaPeliButton << Mended::atTheQuestion << QList<bool>{true};
    QTest::newRow("full disk, \"&Lopetus\", never mended: No at once")
        << Trouble::fullDisk << QuitWay::lopetusButton << Mended::never << QList<bool>{false};
}

void TestListSharing::failedSaveIsKeptAndRetriedAtQuitting()
{
    QFETCH(Trouble, trouble);
    QFETCH(QuitWay, way);
    QFETCH(Mended, mended);
    QFETCH(QList<bool>, retryAnswers);

    ProgramFolder folder;
    const QByteArray before = folder.read(listFile);
    const QString where = QFileInfo(folder.file(listFile)).canonicalFilePath();
    Window w(folder);
    WaitGuard guard(w);
    Form1 &f = *w;
    startGame(f, 1, {QStringLiteral("Anna")});
    PlannedGame game(f, {251});
    game.playToLastScore();

    SavingTrouble saving(trouble, folder.path());
    if (!saving.ok())
        QSKIP("cannot make saving fail here");
    whenWaiting(&f, [&] { click(f.Cmd99ListaOK); });
    game.playLastScore();
    QVERIFY(!guard.fired());

    QCOMPARE(w.platform.messages.size(), 1);
    const QString message = w.platform.messages[0].text;
    QVERIFY2(message.startsWith(QStringLiteral("99-listaa ei voitu tallentaa:\r") + where + u'\r'), qPrintable(message));
    QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
    QCOMPARE(folder.read(listFile), before);
    QVERIFY(f.hasUnsavedResults());
    QCOMPARE(f.bestNames[25], QStringLiteral("Anna"));
    QVERIFY(viewShows(f, QStringLiteral("Anna"), 251));
    const mode_t mode = modeOf(folder.file(listFile));

    // On to the way out.
    if (way == QuitWay::lopetaPeliButton || way == QuitWay::menu) {
        click(f.CmdKaikkiUudelleen);  // "&Uusi peli"
        if (way == QuitWay::menu)
            startGame(f, 1);
    }
    if (mended == Mended::beforeQuitting)
        saving.mend();
    if (mended == Mended::atTheQuestion)
        w.platform.beforeAnswer = [&](const QString &) { saving.mend(); };
    if (way == QuitWay::closeBox || way == QuitWay::menu)
        w.platform.answers << true;
    w.platform.answers << retryAnswers;
    switch (way) {
    case QuitWay::lopetusButton:
        QCOMPARE(f.CmdSäästäKaikki->text(), QStringLiteral("&Lopetus"));
        click(f.CmdSäästäKaikki);
        break;
    case QuitWay::closeBox:
        f.close();
        break;
    case QuitWay::lopetaPeliButton:
        click(f.CmdLopetaPeli);
        break;
    case QuitWay::menu:
        QVERIFY(choose(f.MenuPeli, f.MenuLopetus));
        break;
    }

    QVERIFY(w.platform.ended);
    QCOMPARE(w.platform.unexpectedQuestions, 0);
    QVERIFY(w.platform.answers.isEmpty());
    QCOMPARE(w.platform.questions.count(retryQuestion), retryAnswers.size());
    QCOMPARE(w.platform.messages.size(), 1);  // the retries ask, they do not scold again
    saving.mend();
    const QByteArray after = folder.read(listFile);
    if (mended == Mended::never) {
        QCOMPARE(after, before);
        QVERIFY(f.hasUnsavedResults());
    } else {
        QVERIFY(checkNumbersFit(after));
        QCOMPARE(placeOf(recordsOf(after), QStringLiteral("Anna")), 26);
        QVERIFY(!f.hasUnsavedResults());
        QCOMPARE(modeOf(folder.file(listFile)), mode);
    }
    QCOMPARE(filesIn(folder.path()), programFiles);
}

void TestListSharing::failedEntryIsStoredByTheNextOne_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("reason");
    QTest::newRow("the list cut short by another program") << QStringLiteral("cut")
                                                           << QStringLiteral("rivi 51: tiedosto loppuu kesken.");
    QTest::newRow("a FIFO in the list's place") << QStringLiteral("fifo")
                                                << QStringLiteral("LISTA99.TXT ei ole tavallinen tiedosto.");
    QTest::newRow("a full disk") << QStringLiteral("full") << QString();
}

void TestListSharing::failedEntryIsStoredByTheNextOne()
{
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    ProgramFolder folder;
    Window w(folder);
    QVERIFY(w.loaded);
    const QByteArray whole = folder.read(listFile);
    std::unique_ptr<SavingTrouble> full;
    if (trouble == QLatin1String("cut")) {
        folder.write(listFile, whole.left(whole.indexOf("Nimi50,")));
    } else if (trouble == QLatin1String("fifo")) {
        folder.remove(listFile);
        QCOMPARE(::mkfifo(QFile::encodeName(folder.file(listFile)).constData(), 0644), 0);
    } else {
        full = std::make_unique<SavingTrouble>(Trouble::fullDisk, folder.path());
        QVERIFY(full->ok());
    }
    // A FIFO is not read here: that would wait for a writer.
    const QByteArray left = trouble == QLatin1String("fifo") ? QByteArray() : folder.read(listFile);

    enter(*w, QStringLiteral("Anna"), 251);
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY2(w.platform.messages[0].text.contains(reason), qPrintable(w.platform.messages[0].text));
    if (trouble != QLatin1String("fifo"))
        QCOMPARE(folder.read(listFile), left);  // never written over
    QVERIFY(w->hasUnsavedResults());
    QVERIFY(viewShows(*w, QStringLiteral("Anna"), 251));

    // Put right, the next entry stores both, and quitting has nothing to ask.
    full.reset();
    if (trouble != QLatin1String("full")) {
        folder.remove(listFile);
        folder.write(listFile, whole);
    }
    enter(*w, QStringLiteral("Pekka"), 249);
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY(!w->hasUnsavedResults());
    const BestList file = recordsOf(folder.read(listFile));
    QCOMPARE(placeOf(file, QStringLiteral("Anna")), 26);
    QCOMPARE(placeOf(file, QStringLiteral("Pekka")), 28);
    click(w->CmdLopetaPeli);
    QVERIFY(w.platform.ended);
    QVERIFY(w.platform.questions.isEmpty());
    QCOMPARE(filesIn(folder.path()), programFiles);
}

void TestListSharing::listIsWrittenWhereItLives_data()
{
    QTest::addColumn<QString>("link");        // what lista99.txt is: a symlink's target, or "" for the file
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("folderWritable");

    QTest::newRow("a symlink to a private list in another folder") << QStringLiteral("%1/muualla/oma.txt") << 0600
                                                                   << true;
    QTest::newRow("a relative symlink") << QStringLiteral("tiedot/lista.txt") << 0644 << true;
    QTest::newRow("a list readable by its group only") << QString() << 0640 << true;
    QTest::newRow("a list shared in a folder that cannot be written") << QString() << 0666 << false;
}

void TestListSharing::listIsWrittenWhereItLives()
{
    QFETCH(QString, link);
    QFETCH(int, mode);
    QFETCH(bool, folderWritable);

    ProgramFolder folder;
    QTemporaryDir elsewhere;
    QString target = folder.file(listFile);
    if (!link.isEmpty()) {
        const QString linkText = link.contains(QStringLiteral("%1")) ? link.arg(elsewhere.path()) : link;
        target = QDir(folder.path()).absoluteFilePath(linkText);
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        QVERIFY(QFile::rename(folder.file(listFile), target));
        QVERIFY(QFile::link(linkText, folder.file(listFile)));
    }
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(mode)), 0);
    // A group of our own to keep: as root any group will do.
    const gid_t group = ::geteuid() == 0 ? 100 : ::getegid();
    QCOMPARE(::chown(QFile::encodeName(target).constData(), uid_t(-1), group), 0);
    struct stat old {};
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &old), 0);

    Window w(folder);
    QVERIFY(w.loaded);
    std::unique_ptr<SavingTrouble> readOnly;
    if (!folderWritable) {
        readOnly = std::make_unique<SavingTrouble>(Trouble::folderOnlyReadable, folder.path());
        QVERIFY(readOnly->ok());
    }
    enter(*w, QStringLiteral("Anna"), 251);
    readOnly.reset();

    QVERIFY2(w.platform.messages.isEmpty(), qPrintable(w.platform.messages.value(0).text));
    QCOMPARE(placeOf(recordsOf(folder.read(listFile)), QStringLiteral("Anna")), 26);
    QVERIFY(checkNumbersFit(folder.read(listFile)));
    struct stat now {};
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &now), 0);
    QCOMPARE(now.st_mode & 07777, folderWritable ? old.st_mode & 07777 : mode_t(mode));
    if (folderWritable)
        QCOMPARE(now.st_gid, old.st_gid);
    else
        QCOMPARE(now.st_ino, old.st_ino);  // rewritten in place
    if (!link.isEmpty()) {
        QVERIFY(QFileInfo(folder.file(listFile)).isSymLink());
        QCOMPARE(QFileInfo(folder.file(listFile)).canonicalFilePath(), QFileInfo(target).canonicalFilePath());
        QCOMPARE(filesIn(QFileInfo(target).path()), QStringList{QFileInfo(target).fileName()});
    }
    QCOMPARE(filesIn(folder.path()), (link.startsWith(QStringLiteral("tiedot"))
                                          ? QStringList{listFile, QStringLiteral("nimet.txt"), QStringLiteral("tiedot")}
                                          : programFiles));
}

QTEST_MAIN(TestListSharing)
#include "test_list_sharing.moc"
