// The start screen keeps what the player chose and typed, and every button
// shows its whole caption.
#include "WindowFixture.h"

#include "ui/CaptionButton.h"

class TestStartScreen : public QObject {
    Q_OBJECT

private slots:
    void captionsFitAndChoicesStay();
};

// Types into the box as a player does, with the keyboard focus in it.
static void typeName(QComboBox *box, const QString &name)
{
    box->activateWindow();
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), name);
}

void TestStartScreen::captionsFitAndChoicesStay()
{
    ProgramFolder folder;  // names Anna and Pekka
    Window w(folder);
    Form1 &f = *w;

    // "Pek" stays "Pek" though "Pekka" is offered; the chosen option clicked
    // again keeps the names, another option resets them.
    click(f.playerCountOptions[1]);
    typeName(f.ComboNimi[0], QStringLiteral("Aino"));
    typeName(f.ComboNimi[1], QStringLiteral("Pek"));
    click(f.playerCountOptions[1]);
    QCOMPARE(f.ComboNimi[0]->currentText(), QStringLiteral("Aino"));
    QCOMPARE(f.ComboNimi[1]->currentText(), QStringLiteral("Pek"));
    QCOMPARE(f.ComboNimi[1]->itemText(1), QStringLiteral("Pekka"));
    click(f.playerCountOptions[2]);
    QCOMPARE(f.ComboNimi[0]->currentText(), QStringLiteral("Nimi"));
    typeName(f.ComboNimi[1], QStringLiteral("Pek"));
    click(f.CmdAloitaPeli);
    QCOMPARE(f.LblNimi[1]->caption(), QStringLiteral(" Pek"));

    // The first throw's caption is read on two lines; every other fits on one.
    auto *throwAll = static_cast<CaptionButton *>(f.CmdKaikkiUudelleen);
    QCOMPARE(throwAll->captionLines(),
             (QStringList{QStringLiteral("&Aloita peli klik-"), QStringLiteral("kaamalla tästä !")}));
    const QList<std::pair<QPushButton *, QString>> captions = {
        {f.CmdKaikkiUudelleen, throwAll->text()},        {f.CmdKaikkiUudelleen, "&Kaikki  uudelleen"},
        {f.CmdKaikkiUudelleen, "&Uusi peli"},             {f.CmdValitutUudelleen, "&Valitut uudelleen"},
        {f.CmdSäästäKaikki, "&Säästä kaikki"},            {f.CmdSäästäKaikki, "&Lopetus"},
        {f.Cmd99ListaOK, "OK"}, {f.CmdAloitaPeli, "&Aloita peli"}, {f.CmdLopetaPeli, "&Lopeta peli"},
    };
    for (const auto &[control, caption] : captions) {
        auto *button = static_cast<CaptionButton *>(control);
        button->setText(caption);
        const QStringList lines = button->captionLines();
        QCOMPARE(lines.size(), caption.startsWith(QLatin1String("&Aloita peli ")) ? 2 : 1);
        for (const QString &line : lines)
            QVERIFY2(button->shownWidth(line) <= button->captionRect().width(), qPrintable(line));
        QVERIFY(button->fontMetrics().lineSpacing() * lines.size() <= button->captionRect().height());
    }
}

QTEST_MAIN(TestStartScreen)
#include "test_start_screen.moc"
