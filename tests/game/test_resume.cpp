// A kept game played again from its record: the window stands exactly as the
// game left it, whatever the moment.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"

namespace {

// A game of two played with the generator's own dice (so that the record
// holds what the window showed), up to a moment of each kind.
void playTo(Window &w, const QString &moment)
{
    Form1 &f = *w;
    const auto firstFree = [&f] {
        for (int code = 1; code <= category::count; ++code) {
            if (f.categoryUsed[std::size_t(f.currentPlayer)][std::size_t(code)] == 0)
                return code;
        }
        return 0;
    };
    const auto turn = [&] {
        click(f.CmdKaikkiUudelleen);
        click(f.CmdSäästäKaikki);
        click(f.categoryHeadings[std::size_t(firstFree())]);
    };
    for (int i = 0; i < 3; ++i)
        turn();
    if (moment == "computer's turn") {
        turn();
        for (int step = 0; step < 3 && f.computerToPlay(); ++step)
            QVERIFY(w.platform.runComputerStep());
        QVERIFY(f.computerToPlay());
        return;
    }
    click(f.CmdKaikkiUudelleen);
    clickDice(f, {0, 2, 4, 2});
    if (moment == "marks")
        return;
    click(f.CmdValitutUudelleen);
    click(f.CmdSäästäKaikki);
    if (moment == "keep-all")
        return;
    if (moment == "keep-all undone") {
        QVERIFY(undo(f));
        return;
    }
    click(f.categoryHeadings[1]);  // filled: refused
    if (moment == "refusal")
        return;
    click(f.categoryHeadings[std::size_t(firstFree())]);
    QVERIFY(undo(f));
}

} // namespace

class TestResume : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { perfectPlayTable::wait(); }
    void theWindowStandsAsTheGameLeftIt_data();
    void theWindowStandsAsTheGameLeftIt();
    void aGameLeftInItsNameEntryComesBackToIt();
};

void TestResume::theWindowStandsAsTheGameLeftIt_data()
{
    QTest::addColumn<QString>("moment");
    for (const char *moment : {"marks", "keep-all", "keep-all undone", "refusal", "row undone", "computer's turn"})
        QTest::newRow(moment) << QString::fromLatin1(moment);
}

void TestResume::theWindowStandsAsTheGameLeftIt()
{
    QFETCH(QString, moment);
    ProgramFolder folder;
    Window played(folder);
    played.platform.computerWaits = true;
    startGame(*played, 2, {QStringLiteral("Anna"), moment == "computer's turn" ? QStringLiteral("Kone") : QStringLiteral("Pekka")});
    playTo(played, moment);

    Window resumed(folder);
    resumed.platform.computerWaits = true;
    resumed->replay(played->record);
    QCOMPARE(windowState(*resumed), windowState(*played));
    QCOMPARE(resumed->record.entries, played->record.entries);
    QCOMPARE(resumed.platform.beeps, 0);
    // The game goes on in the resumed window as it would have in the other.
    if (moment == "computer's turn") {
        QVERIFY(resumed->computerToPlay() && resumed.platform.runComputerStep());
        QVERIFY(played.platform.runComputerStep());
    } else {
        for (Window *w : {&resumed, &played}) {
            Form1 &f = **w;
            click(f.CmdValitutUudelleen->isEnabled() ? static_cast<QWidget *>(f.CmdValitutUudelleen)
                                                     : f.categoryHeadings[15]);
        }
    }
    QCOMPARE(sheetCaptions(*resumed), sheetCaptions(*played));
}

// Anna's result was stored when the game was left in Pekka's name entry: the
// game comes back to Pekka's, and Anna's is not offered again.
void TestResume::aGameLeftInItsNameEntryComesBackToIt()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("lista99.txt"), listFileBytes(makeList([](int i) { return 30 - i / 4; })));
    Window played(folder);
    startGame(*played, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    QStringList left, back;
    GameRecord record;
    whenWaiting(played.form.get(), [&] {
        click(played->Cmd99ListaOK);  // Anna's
        whenWaiting(played.form.get(), [&] {
            left = windowState(*played);
            record = played->record;
            Window resumed(folder);
            whenWaiting(resumed.form.get(), [&] {
                back = windowState(*resumed);
                click(resumed->Cmd99ListaOK);
            });
            resumed->replay(record);
            QVERIFY(resumed->gameOver);
            click(played->Cmd99ListaOK);
        });
    });
    for (int code = 1; code <= category::count; ++code) {
        for (int player = 0; player < 2; ++player) {
            click(played->CmdKaikkiUudelleen);
            click(played->CmdSäästäKaikki);
            click(played->categoryHeadings[std::size_t(code)]);
        }
    }
    QVERIFY(played->gameOver);
    QCOMPARE(record.entries.back().kind, GameRecord::Kind::ListEntry);
    QCOMPARE(back, left);
    QCOMPARE(folder.read(QStringLiteral("lista99.txt")).count("Anna"), 1);
}

QTEST_MAIN(TestResume)
#include "test_resume.moc"
