// Start-up and the start screen, driven through the real window.
#include "WindowFixture.h"

#include "game/FileLocations.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QGroupBox>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>

class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    void namesFillAllFourBoxesInFileOrder();
    void namesInWindows1252WithoutFinalLineBreak();
    void missingNamesFileEndsBeforeTheWindowShows();
    void startScreenAsTheProgramStarts();
    void playerCountEnablesNameBoxesAndResetsTheirTexts();
    void startingUntouchedGivesOnePlayerNamedNimi();
    void longAndEmptyNamesInHeaders();
    void startingAGameOpensTheFirstTurn();
    void startsFromAnyWorkingFolder();
    void installedReadOnlyItSeedsAndRepairsThePlayersFolderOnly();
};

void TestStartUp::namesFillAllFourBoxesInFileOrder()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("nimet.txt"), QByteArray("Anna\r\n\r\nPekka\r\nKone\r\nAnna\r\nKone 2\r\n"));
    Window w(folder);
    QVERIFY(w.loaded);
    for (QComboBox *box : w->ComboNimi) {
        QCOMPARE(box->count(), 7);  // the computers once each, whatever the file says
        QCOMPARE(box->itemText(0), QStringLiteral("Anna"));
        QCOMPARE(box->itemText(1), QStringLiteral("Pekka"));
        QCOMPARE(box->itemText(2), QStringLiteral("Anna"));
        QCOMPARE(box->itemText(3), QStringLiteral("Kone 1"));  // the computers, after the names
        QCOMPARE(box->itemText(6), QStringLiteral("Kone"));
        QCOMPARE(box->currentText(), QStringLiteral("Nimi"));
    }
}

void TestStartUp::namesInWindows1252WithoutFinalLineBreak()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("nimet.txt"), QByteArray(" J\xe4rvi \r\nY\xf6kk\xf6"));
    Window w(folder);
    QVERIFY(w.loaded);
    QCOMPARE(w->ComboNimi[3]->count(), 6);
    QCOMPARE(w->ComboNimi[3]->itemText(0), QStringLiteral(" Järvi "));
    QCOMPARE(w->ComboNimi[3]->itemText(1), QStringLiteral("Yökkö"));
}

void TestStartUp::missingNamesFileEndsBeforeTheWindowShows()
{
    ProgramFolder folder;
    folder.remove(QStringLiteral("nimet.txt"));
    const QByteArray listBefore = folder.read(QStringLiteral("lista99.txt"));
    Window w(folder);
    QVERIFY(!w.loaded);
    QVERIFY(!w->isVisible());
    QCOMPARE(w.platform.messages.size(), 1);
    QVERIFY(w.platform.messages[0].text.contains(QStringLiteral("NIMET.TXT")));
    QCOMPARE(w.platform.messages[0].icon, Platform::Icon::Critical);
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("nimet.txt"))));
    QCOMPARE(folder.read(QStringLiteral("lista99.txt")), listBefore);
}

void TestStartUp::startScreenAsTheProgramStarts()
{
    // On a dark desktop, as a dark theme sets it: the window keeps its own colours.
    const auto desktop = qScopeGuard([light = QApplication::palette()] { QApplication::setPalette(light); });
    QApplication::setPalette(QPalette(QColor(240, 240, 240), QColor(53, 53, 53)));
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    QCOMPARE(f.windowTitle(), QStringLiteral("Kopperi"));
    QCOMPARE(f.centralWidget()->size(), QSize(662, 482));
    QVERIFY(f.playerCountOptions[0]->isChecked());
    QVERIFY(f.ComboNimi[0]->isEnabled());
    for (int k = 1; k < 4; ++k)
        QVERIFY(!f.ComboNimi[std::size_t(k)]->isEnabled());
    for (EventLabel *header : f.LblNimi) {
        QCOMPARE(header->caption(), QStringLiteral(" Nimi"));
        QVERIFY(!header->isEnabled());
    }
    QVERIFY(!f.MenuPeli->menuAction()->isEnabled());
    QVERIFY(!f.MenuPeruutus->menuAction()->isEnabled());
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Kaikki  uudelleen"));
    QVERIFY(!f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdValitutUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QCOMPARE(f.CmdSäästäKaikki->toolTip(), QStringLiteral("Lukitsee arpakuutiot tallennusta varten."));
    for (DieBox *die : f.dice)
        QVERIFY(!die->isEnabled());
    for (EventLabel *cell : f.LblKolmosetPelaaja)
        QCOMPARE(cell->caption(), QStringLiteral(" "));
    QCOMPARE(f.LblYkkösetPelaaja[0]->caption(), QString());
    QVERIFY(f.FrameAloitusruutu->isVisible());
    QCOMPARE(f.FrameAloitusruutu->title(), QStringLiteral(" Pelaajien lukumäärä       Nimet"));
    QCOMPARE(f.Frame99Parasta->title(), QStringLiteral("99 parasta tulosta  "));
    QVERIFY(!f.Frame99ListaPohja->isVisible());
    QCOMPARE(f.categoryHeadings[15]->caption(), QStringLiteral(" Y A T Z Y"));
    QCOMPARE(f.LblVuorossa->caption(), QString());
    QCOMPARE(f.LblHeittokerrat->caption(), QString());

    // Positions are the layout's twips divided by 15.
    QCOMPARE(f.LblOtsikko->geometry(), QRect(0, -1, 665, 25));
    QCOMPARE(f.categoryHeadings[8]->geometry(), QRect(0, 264, 97, 25));
    QCOMPARE(f.LblKaksiPariaPelaaja[2]->geometry(), QRect(240, 264, 73, 25));
    QCOMPARE(f.dice[3]->geometry(), QRect(16, 217, 58, 53));
    QCOMPARE(f.CmdKaikkiUudelleen->geometry(), QRect(496, 168, 153, 49));
    QCOMPARE(f.Scroll99Lista->minimum(), 1);
    QCOMPARE(f.Scroll99Lista->maximum(), 87);

    // Colours: the heading, a row, a list place label.
    QCOMPARE(f.LblOtsikko->backColor(), QColor(0, 0, 255));
    QCOMPARE(f.LblOtsikko->foreColor(), QColor(224, 224, 224));
    QCOMPARE(f.LblBonusPelaaja[1]->backColor(), QColor(255, 128, 128));
    QCOMPARE(f.Lbl99Sijoitus[0]->backColor(), f.palette().color(QPalette::Midlight));
    QCOMPARE(f.Lbl99Nimi[0]->backColor(), QColor(255, 255, 255));  // the caption-text colour
    QCOMPARE(f.LblAlkuTervehdys->backColor(), f.palette().color(QPalette::ToolTipBase));
}

void TestStartUp::playerCountEnablesNameBoxesAndResetsTheirTexts()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    click(f.playerCountOptions[2]);
    QCOMPARE(f.lastPlayerIndex, 2);
    QVERIFY(f.ComboNimi[1]->isEnabled());
    QVERIFY(f.ComboNimi[2]->isEnabled());
    QVERIFY(!f.ComboNimi[3]->isEnabled());
    f.ComboNimi[0]->setCurrentText(QStringLiteral("Aino"));
    f.ComboNimi[1]->setCurrentText(QStringLiteral("Eino"));
    f.ComboNimi[2]->setCurrentText(QStringLiteral("Tuula"));

    click(f.playerCountOptions[1]);
    QCOMPARE(f.lastPlayerIndex, 1);
    for (QComboBox *box : f.ComboNimi) {
        QCOMPARE(box->currentText(), QStringLiteral("Nimi"));
        QCOMPARE(box->count(), 6);  // the remembered names and the computers stay
    }
    QVERIFY(f.ComboNimi[1]->isEnabled());
    QVERIFY(!f.ComboNimi[2]->isEnabled());
    QVERIFY(!f.ComboNimi[3]->isEnabled());

    click(f.playerCountOptions[3]);
    QCOMPARE(f.lastPlayerIndex, 3);
    QVERIFY(f.ComboNimi[3]->isEnabled());
    click(f.playerCountOptions[0]);
    QCOMPARE(f.lastPlayerIndex, 0);
    QVERIFY(f.ComboNimi[0]->isEnabled());
    QVERIFY(!f.ComboNimi[1]->isEnabled());
}

void TestStartUp::startingUntouchedGivesOnePlayerNamedNimi()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    click(f.CmdAloitaPeli);
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" Nimi"));
    QVERIFY(f.LblNimi[0]->isEnabled());
    QVERIFY(!f.LblNimi[1]->isEnabled());
    QCOMPARE(f.playerNames[0], QStringLiteral(" Nimi"));
    QCOMPARE(f.lastPlayerIndex, 0);
}

void TestStartUp::longAndEmptyNamesInHeaders()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 3, {QStringLiteral("Matti-Petteri"), QString(), QStringLiteral("  Ö ")});
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" Matti-Pe"));
    QCOMPARE(f.LblVuorossa->caption(), QStringLiteral(" Matti-Pe"));
    QCOMPARE(f.LblNimi[1]->caption(), QStringLiteral(" "));
    QCOMPARE(f.LblNimi[2]->caption(), QStringLiteral("   Ö "));
    QCOMPARE(f.LblNimi[3]->caption(), QStringLiteral(" Nimi"));
    QVERIFY(!f.LblNimi[3]->isEnabled());
    QCOMPARE(f.playerNames[2], QStringLiteral("   Ö "));
}

void TestStartUp::startingAGameOpensTheFirstTurn()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    QVERIFY(!f.FrameAloitusruutu->isVisible());
    QVERIFY(!f.CmdAloitaPeli->isVisible());
    QVERIFY(!f.LblAlkuTervehdys->isVisible());
    QVERIFY(f.MenuPeli->menuAction()->isEnabled());
    QCOMPARE(f.LblNimi[0]->caption(), QStringLiteral(" Anna"));
    QCOMPARE(f.LblNimi[1]->caption(), QStringLiteral(" Pekka"));
    QCOMPARE(f.LblNimi[0]->foreColor(), QColor(Qt::red));
    QCOMPARE(f.LblNimi[1]->foreColor(), f.palette().color(QPalette::ButtonText));
    QCOMPARE(f.LblHeittokerrat->caption(), QStringLiteral("0"));
    QCOMPARE(f.LblVuorossa->caption(), QStringLiteral(" Anna"));
    QCOMPARE(f.CmdKaikkiUudelleen->text(), QStringLiteral("&Aloita peli klik- kaamalla tästä !"));
    QCOMPARE(f.CmdKaikkiUudelleen->toolTip(), QStringLiteral("Aloittaa uuden pelin."));
    QVERIFY(f.CmdKaikkiUudelleen->isEnabled());
    QVERIFY(!f.CmdSäästäKaikki->isEnabled());
    QCOMPARE(f.currentPlayer, 0);
    QCOMPARE(f.headingText, f.LblOtsikko->caption());
}

void TestStartUp::startsFromAnyWorkingFolder()
{
    ProgramFolder folder;
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    Window w(folder);
    QVERIFY(w.loaded);
    QCOMPARE(QDir::currentPath(), QDir(folder.path()).canonicalPath());
}

void TestStartUp::installedReadOnlyItSeedsAndRepairsThePlayersFolderOnly()
{
    QTemporaryDir prefix, home;
    QCOMPARE(QProcess::execute(KOPPERI_CMAKE, {"--install", KOPPERI_BUILD_DIR, "--prefix", prefix.path()}), 0);
    QCOMPARE(QProcess::execute("chmod", {"-R", "a-w", prefix.path()}), 0);
    const auto writable = qScopeGuard([&] { QProcess::execute("chmod", {"-R", "u+w", prefix.path()}); });  // to remove it
    auto read = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    auto installed = [&] {  // every file with its permissions and its bytes, as root may write anyway
        QStringList seen;
        QDirIterator it(prefix.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            seen << path + QString::number(int(QFile::permissions(path)))
                    + QCryptographicHash::hash(read(path), QCryptographicHash::Sha256).toHex();
        }
        return seen;
    };
    const QStringList before = installed();
    nameApplication();
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    const QString player = home.filePath(QStringLiteral(".local/share/kopperi/"));
    BestList edited = makeList([](int i) { return 300 - 2 * i; });
    const auto valid = computeCheckNumbers(edited);
    edited.scores[0] = 374;  // a better first place typed in by hand, the check numbers left as they were
    QFile list(player + QStringLiteral("lista99.txt"));
    QVERIFY(QDir().mkpath(player) && list.open(QIODevice::WriteOnly) && list.write(formatBestList(edited, valid)) > 0);
    list.close();

    FakePlatform platform;
    platform.folder = prefix.filePath(QStringLiteral("bin"));
    Form1 form(platform);
    QVERIFY(form.Form_Load());
    QCOMPARE(form.Lbl99Tulos[0]->caption(), QStringLiteral("374"));
    QCOMPARE(read(list.fileName()), listFileBytes(edited));  // repaired where it was
    QCOMPARE(read(player + "nimet.txt"), read(prefix.filePath("share/kopperi/nimet.txt")));  // seeded from there
    QCOMPARE(installed(), before);

    // A fresh player's folder gets both files as installed; the player's own are never replaced.
    const QString fresh = home.filePath(QStringLiteral("fresh/"));
    for (const QByteArray &own : {QByteArray(), QByteArray("oma\r\n")}) {
        QVERIFY(locateFiles(platform.folder, fresh).problem.isEmpty());
        for (const QString &name : {QStringLiteral("lista99.txt"), QStringLiteral("nimet.txt")}) {
            QCOMPARE(read(fresh + name), own.isEmpty() ? read(prefix.filePath("share/kopperi/" + name)) : own);
            QFile file(fresh + name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("oma\r\n") == 5);
        }
    }
}

QTEST_MAIN(TestStartUp)
#include "test_start_up.moc"
