// The start screen keeps what the player chose and typed, and every button
// shows its whole caption.
#include "WindowFixture.h"

#include "ui/CaptionButton.h"

#include <QAbstractItemView>

class TestStartScreen : public QObject {
    Q_OBJECT

private slots:
    void captionsFitAndChoicesStay();
};

namespace {

// Types into the box as a player does, with the keyboard focus in it.
void typeName(QComboBox *box, const QString &name)
{
    box->activateWindow();
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), name);
}

// The caption's lines fit the button's room, across and down.
void expectFits(CaptionButton *button, const QString &caption, int lineCount)
{
    button->setText(caption);
    const QStringList lines = button->captionLines();
    const QRect room = button->captionRect();
    QCOMPARE(lines.size(), lineCount);
    QCOMPARE(lines.join(u' ').simplified(), caption.simplified());
    for (const QString &line : lines)
        QVERIFY2(button->shownWidth(line) <= room.width(), qPrintable(line));
    QVERIFY2(button->fontMetrics().lineSpacing() * lineCount <= room.height(), qPrintable(caption));
}

} // namespace

void TestStartScreen::captionsFitAndChoicesStay()
{
    ProgramFolder folder;
    folder.write(QStringLiteral("nimet.txt"), QByteArray("Anna\r\nPekka\r\n"));
    Window w(folder);
    Form1 &f = *w;

    // Clicking the option already chosen keeps the names; another option resets them.
    click(f.playerCountOptions[1]);
    typeName(f.ComboNimi[0], QStringLiteral("Aino"));
    // Typing the start of a remembered name keeps just what was typed.
    typeName(f.ComboNimi[1], QStringLiteral("Pek"));
    QCOMPARE(f.ComboNimi[1]->currentText(), QStringLiteral("Pek"));
    QCOMPARE(f.ComboNimi[1]->lineEdit()->selectedText(), QString());
    click(f.playerCountOptions[1]);
    QCOMPARE(f.ComboNimi[0]->currentText(), QStringLiteral("Aino"));
    QCOMPARE(f.ComboNimi[1]->currentText(), QStringLiteral("Pek"));
    click(f.playerCountOptions[2]);
    QCOMPARE(f.lastPlayerIndex, 2);
    for (QComboBox *box : f.ComboNimi)
        QCOMPARE(box->currentText(), QStringLiteral("Nimi"));

    // The drop-down still offers the names.
    typeName(f.ComboNimi[1], QStringLiteral("Pek"));
    QCOMPARE(f.ComboNimi[1]->count(), 2);
    QCOMPARE(f.ComboNimi[1]->itemText(1), QStringLiteral("Pekka"));
    f.ComboNimi[1]->setCurrentIndex(1);
    QCOMPARE(f.ComboNimi[1]->currentText(), QStringLiteral("Pekka"));
    typeName(f.ComboNimi[1], QStringLiteral("Pek"));
    click(f.CmdAloitaPeli);
    QCOMPARE(f.LblNimi[1]->caption(), QStringLiteral(" Pek"));

    // The first throw's caption is read on two lines; every other caption of
    // every button fits on one.
    auto *throwAll = dynamic_cast<CaptionButton *>(f.CmdKaikkiUudelleen);
    QVERIFY(throwAll);
    QCOMPARE(throwAll->captionLines(),
             (QStringList{QStringLiteral("&Aloita peli klik-"), QStringLiteral("kaamalla tästä !")}));
    expectFits(throwAll, throwAll->text(), 2);
    const QList<std::pair<QPushButton *, QStringList>> captions = {
        {f.CmdKaikkiUudelleen, {"&Kaikki  uudelleen", "&Kaikki uudelleen", "&Uusi peli"}},
        {f.CmdValitutUudelleen, {"&Valitut uudelleen"}},
        {f.CmdSäästäKaikki, {"&Säästä kaikki", "&Lopetus"}},
        {f.Cmd99ListaOK, {"OK"}},
        {f.CmdAloitaPeli, {"&Aloita peli"}},
        {f.CmdLopetaPeli, {"&Lopeta peli"}},
    };
    for (const auto &[button, texts] : captions) {
        for (const QString &text : texts)
            expectFits(dynamic_cast<CaptionButton *>(button), text, 1);
    }
}

QTEST_MAIN(TestStartScreen)
#include "test_start_screen.moc"
