// On a dark desktop theme the window keeps the light system colours its fixed
// backgrounds are drawn for, so every text stays dark on its light background.
#include "WindowFixture.h"

#include <QApplication>
#include <QGroupBox>

class TestDarkDesktop : public QObject {
    Q_OBJECT

private slots:
    void sheetTextsStayDarkOnLightBackgrounds();
};

// By the grey an eye sees: yellow and light grey are light, blue and dark red dark.
static bool light(const QColor &c) { return qGray(c.rgb()) >= 110; }
static bool dark(const QColor &c) { return qGray(c.rgb()) <= 80; }

void TestDarkDesktop::sheetTextsStayDarkOnLightBackgrounds()
{
    // As a dark desktop theme sets it, before the window is built.
    QPalette darkDesktop(QColor(240, 240, 240), QColor(53, 53, 53));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ToolTipText})
        darkDesktop.setColor(role, QColor(240, 240, 240));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Midlight, QPalette::ToolTipBase})
        darkDesktop.setColor(role, QColor(42, 42, 42));
    QApplication::setPalette(darkDesktop);
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    record(f, 8, Dice{6, 6, 5, 5, 1});

    // Every label on a light background of its own (row headings, score
    // cells, name headers, the list's rows, the greeting) has dark text,
    // but for the red name of the player to play.
    int checked = 0;
    for (EventLabel *label : f.findChildren<EventLabel *>()) {
        if (label->autoFillBackground() && light(label->backColor()) && label->foreColor() != QColor(Qt::red)) {
            QVERIFY2(dark(label->foreColor()), qPrintable(label->text()));
            ++checked;
        }
    }
    QVERIFY(checked > 150);
    // The list's name, date and score cells are white; boxes and buttons light.
    for (const Form1::ListColumn *column : {&f.Lbl99Nimi, &f.Lbl99Pvm, &f.Lbl99Tulos})
        QCOMPARE((*column)[5]->backColor(), QColor(Qt::white));
    for (QWidget *control : std::initializer_list<QWidget *>{f.CmdKaikkiUudelleen, f.ComboNimi[0], f.Txt99ListaNimi}) {
        QVERIFY(dark(control->palette().color(QPalette::ButtonText)) && light(control->palette().color(QPalette::Button)));
        QVERIFY(dark(control->palette().color(QPalette::Text)) && light(control->palette().color(QPalette::Base)));
    }

    // The start screen and the list's frames take the window's font.
    for (QGroupBox *frame : {f.FrameAloitusruutu, f.Frame99Parasta})
        QCOMPARE(frame->font(), f.font());
}

QTEST_MAIN(TestDarkDesktop)
#include "test_dark_desktop.moc"
