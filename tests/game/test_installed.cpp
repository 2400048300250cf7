// Kopperi installed under a prefix: the install itself, and the player's own
// folder that an installed program reads and writes instead of its own.
#include "WindowFixture.h"

#include "game/FileLocations.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <map>

namespace {

const QString listFile = QStringLiteral("lista99.txt");
const QString namesFile = QStringLiteral("nimet.txt");

// Every file under `root` with a hash of its bytes and its permissions.
std::map<QString, QByteArray> snapshot(const QString &root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        files[file.fileName()] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
            + QByteArray::number(int(file.permissions()));
    }
    return files;
}

// Takes the write permission off every file and folder under `root`.
void makeReadOnly(const QString &root)
{
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : paths) {
        QFile entry(path);
        entry.setPermissions(entry.permissions() & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
    }
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QImage filled(const QColor &colour)
{
    QImage image(56, 49, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

// The window started with the fake platform reporting `programFolder` as the
// program's folder.
struct Started {
    FakePlatform platform;
    std::unique_ptr<Form1> form;
    bool loaded = false;

    explicit Started(const QString &programFolder)
    {
        platform.folder = programFolder;
        form = std::make_unique<Form1>(platform);
        loaded = form->Form_Load();
        if (loaded)
            form->show();
    }
};

} // namespace

class TestInstalled : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void installsEverythingUnderThePrefix();
    void installedProgramStartsFromAnyFolderAndSeedsThePlayersFolder();
    void firstStartSeedsThePlayersFolderAndReadsOnlyThere();
    void repairOfAHandEditedListLandsInThePlayersFolder();
    void deletedListComesBackAndTheNamesStayThePlayers();
    void damagedListMessageNamesThePathAndTheWayOut_data();
    void damagedListMessageNamesThePathAndTheWayOut();
    void picturesFromThePlayersFolderThenTheInstalledOnes();
    void aPlayersFolderThatCannotBeMadeEndsStartUp();

private:
    QString inPlayer(const QString &name) const { return player_ + QLatin1Char('/') + name; }
    QString inData(const QString &name) const { return data_ + QLatin1Char('/') + name; }

    QTemporaryDir root_;
    QString prefix_;
    QString program_;   // the installed program's folder
    QString data_;      // the installed data folder
    std::map<QString, QByteArray> installed_;
    std::unique_ptr<QTemporaryDir> home_;
    QString player_;    // the player's folder under the temporary home
};

void TestInstalled::initTestCase()
{
    nameApplication();
    prefix_ = root_.filePath(QStringLiteral("prefix"));
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(KOPPERI_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(KOPPERI_BUILD_DIR), QStringLiteral("--prefix"), prefix_});
    QVERIFY(install.waitForFinished(60000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    program_ = prefix_ + QStringLiteral("/bin");
    data_ = prefix_ + QStringLiteral("/share/kopperi");
    makeReadOnly(prefix_);
    installed_ = snapshot(prefix_);
}

void TestInstalled::init()
{
    home_ = std::make_unique<QTemporaryDir>();
    qputenv("HOME", home_->path().toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    player_ = home_->filePath(QStringLiteral(".local/share/kopperi"));
}

void TestInstalled::cleanup()
{
    // Whatever the test did, nothing under the prefix changed.
    QVERIFY(snapshot(prefix_) == installed_);
}

void TestInstalled::installsEverythingUnderThePrefix()
{
    const QStringList expected{
        QStringLiteral("bin/kopperi"),
        QStringLiteral("share/kopperi/lista99.txt"),
        QStringLiteral("share/kopperi/nimet.txt"),
        QStringLiteral("share/kopperi/1.bmp"),
        QStringLiteral("share/kopperi/v6.bmp"),
        QStringLiteral("share/kopperi/t1.bmp"),
        QStringLiteral("share/applications/fi.kopperi.Kopperi.desktop"),
        QStringLiteral("share/metainfo/fi.kopperi.Kopperi.metainfo.xml"),
        QStringLiteral("share/icons/hicolor/64x64/apps/kopperi.png"),
        QStringLiteral("share/icons/hicolor/scalable/apps/kopperi.svg"),
        QStringLiteral("share/man/man6/kopperi.6.gz"),
        QStringLiteral("share/doc/kopperi/copyright"),
        QStringLiteral("share/doc/kopperi/changelog.gz"),
    };
    for (const QString &name : expected)
        QVERIFY2(QFile::exists(prefix_ + QLatin1Char('/') + name), qPrintable(name));
    QCOMPARE(QDir(data_).entryList({QStringLiteral("*.bmp")}).size(), 13);
    QCOMPARE(QImage(prefix_ + QStringLiteral("/share/icons/hicolor/64x64/apps/kopperi.png")).size(), QSize(64, 64));
    QCOMPARE(readFile(inData(listFile)), readFile(QStringLiteral(KOPPERI_DATA_DIR "/lista99.txt")));
    QCOMPARE(readFile(inData(namesFile)), readFile(QStringLiteral(KOPPERI_DATA_DIR "/nimet.txt")));
    QVERIFY(QFileInfo(program_ + QStringLiteral("/kopperi")).isExecutable());
}

void TestInstalled::installedProgramStartsFromAnyFolderAndSeedsThePlayersFolder()
{
    // The real program: its folder and data found from where it was installed.
    QTemporaryDir elsewhere;
    QProcess kopperi;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home_->path());
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    kopperi.setProcessEnvironment(environment);
    kopperi.setWorkingDirectory(elsewhere.path());
    kopperi.start(program_ + QStringLiteral("/kopperi"), {});
    QVERIFY(kopperi.waitForStarted());
    const QString list = inPlayer(listFile);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(list) && QFile::exists(inPlayer(namesFile)), 20000);
    // Still running: the window is up, no message box ended start-up.
    QTest::qWait(300);
    QCOMPARE(kopperi.state(), QProcess::Running);
    kopperi.kill();
    kopperi.waitForFinished();
    QCOMPARE(readFile(list), readFile(inData(listFile)));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

void TestInstalled::firstStartSeedsThePlayersFolderAndReadsOnlyThere()
{
    Started w(program_);
    QVERIFY(w.loaded);
    QVERIFY(w.platform.messages.isEmpty());
    QCOMPARE(QDir::currentPath(), QDir(player_).canonicalPath());
    QCOMPARE(readFile(inPlayer(listFile)), readFile(inData(listFile)));
    QCOMPARE(readFile(inPlayer(namesFile)), readFile(inData(namesFile)));
    // The copies are the player's to write, though the installed files are not.
    QVERIFY(QFileInfo(inPlayer(listFile)).permissions() & QFile::WriteOwner);
    const std::optional<BestListFile> shipped = parseBestList(readFile(inData(listFile)), nullptr);
    QVERIFY(shipped);
    QCOMPARE(w.form->Lbl99Nimi[0]->caption(), shipped->list.names[0]);
}

void TestInstalled::repairOfAHandEditedListLandsInThePlayersFolder()
{
    // A better first place typed in by hand, the check numbers left as they were.
    QVERIFY(QDir().mkpath(player_));
    const BestList valid = makeList([](int i) { return 300 - 2 * i; });
    BestList edited = valid;
    edited.scores[0] = 374;
    writeFile(inPlayer(listFile), formatBestList(edited, computeCheckNumbers(valid)));

    Started w(program_);
    QVERIFY(w.loaded);
    QCOMPARE(w.platform.messages.size(), 2);
    QCOMPARE(readFile(inPlayer(listFile)), listFileBytes(edited));
    QCOMPARE(w.form->Lbl99Tulos[0]->caption(), QStringLiteral("374"));
    // The names file was missing, so it came from the installed copy.
    QCOMPARE(readFile(inPlayer(namesFile)), readFile(inData(namesFile)));
}

void TestInstalled::deletedListComesBackAndTheNamesStayThePlayers()
{
    {
        Started first(program_);
        QVERIFY(first.loaded);
    }
    writeFile(inPlayer(namesFile), QByteArray("Aino\r\nEino\r\n"));
    QVERIFY(QFile::remove(inPlayer(listFile)));

    Started w(program_);
    QVERIFY(w.loaded);
    QVERIFY(w.platform.messages.isEmpty());
    QCOMPARE(readFile(inPlayer(listFile)), readFile(inData(listFile)));
    QCOMPARE(readFile(inPlayer(namesFile)), QByteArray("Aino\r\nEino\r\n"));
    QCOMPARE(w.form->ComboNimi[0]->itemText(0), QStringLiteral("Aino"));
}

void TestInstalled::damagedListMessageNamesThePathAndTheWayOut_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("in the player's folder: deleting starts afresh") << true;
    QTest::newRow("beside the program: a deleted list never comes back") << false;
}

void TestInstalled::damagedListMessageNamesThePathAndTheWayOut()
{
    QFETCH(bool, installed);
    ProgramFolder beside;
    const QString folder = installed ? player_ : beside.path();
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + QLatin1Char('/') + listFile, QByteArray("1,2,3\r\n"));

    Started w(installed ? program_ : beside.path());
    QVERIFY(!w.loaded);
    QCOMPARE(w.platform.messages.size(), 1);
    const QString text = w.platform.messages[0].text;
    QVERIFY2(text.contains(QDir(folder).canonicalPath() + QLatin1Char('/') + listFile), qPrintable(text));
    QCOMPARE(text.contains(QStringLiteral("poista")), installed);
    QCOMPARE(readFile(folder + QLatin1Char('/') + listFile), QByteArray("1,2,3\r\n"));

    if (installed) {  // the advice works
        QVERIFY(QFile::remove(folder + QLatin1Char('/') + listFile));
        Started again(program_);
        QVERIFY(again.loaded);
    }
}

void TestInstalled::picturesFromThePlayersFolderThenTheInstalledOnes()
{
    // An installed layout of its own, whose data folder holds red faces.
    QTemporaryDir install;
    QDir layout(install.path());
    QVERIFY(layout.mkpath(QStringLiteral("bin")) && layout.mkpath(QStringLiteral("share/kopperi")));
    for (const QString &name : {listFile, namesFile})
        QVERIFY(QFile::copy(data_ + QLatin1Char('/') + name, install.filePath(QStringLiteral("share/kopperi/") + name)));
    for (int face = 1; face <= 6; ++face)
        QVERIFY(filled(Qt::red).save(install.filePath(QStringLiteral("share/kopperi/%1.bmp").arg(face)), "BMP"));
    // The player's own pictures of the even faces come first.
    QVERIFY(QDir().mkpath(player_));
    for (int face = 2; face <= 6; face += 2)
        QVERIFY(filled(Qt::green).save(player_ + QStringLiteral("/%1.bmp").arg(face), "BMP"));

    Started w(install.filePath(QStringLiteral("bin")));
    QVERIFY(w.loaded);
    startGame(*w.form, 1);
    click(w.form->CmdKaikkiUudelleen);
    for (std::size_t d = 0; d < w.form->dice.size(); ++d) {
        const int value = w.form->diceValues[d];
        const QImage shown = w.form->dice[d]->picture().toImage();
        QCOMPARE(shown.pixelColor(28, 24), QColor(value % 2 ? Qt::red : Qt::green));
    }
    // Marked dice have no pictures of either: the built-in ones show.
    click(w.form->dice[0]);
    QCOMPARE(w.form->dice[0]->picture().toImage(),
             QPixmap(QStringLiteral(":/pictures/") + w.form->dice[0]->pictureName()).toImage());
}

void TestInstalled::aPlayersFolderThatCannotBeMadeEndsStartUp()
{
    // The data home is a file, so no folder can be made under it.
    writeFile(home_->filePath(QStringLiteral("data")), QByteArray("not a folder"));
    qputenv("XDG_DATA_HOME", home_->filePath(QStringLiteral("data")).toLocal8Bit());
    Started w(program_);
    QVERIFY(!w.loaded);
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY2(w.platform.messages[0].text.contains(home_->filePath(QStringLiteral("data/kopperi"))),
             qPrintable(w.platform.messages[0].text));
    QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
}

QTEST_MAIN(TestInstalled)
#include "test_installed.moc"
