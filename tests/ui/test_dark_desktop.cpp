// On a dark desktop theme the window keeps the light system colours its fixed
// backgrounds are drawn for, so every text stays dark on its light background.
#include "WindowFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>

class TestDarkDesktop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sheetTextsStayDarkOnLightBackgrounds();
};

namespace {

QPalette darkPalette()
{
    QPalette p(QColor(220, 220, 220), QColor(53, 53, 53));  // light button text on dark buttons
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        p.setColor(role, QColor(240, 240, 240));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Midlight, QPalette::ToolTipBase, QPalette::Light})
        p.setColor(role, QColor(42, 42, 42));
    return p;
}

// By the grey an eye sees: yellow is light, blue and dark red are dark.
bool light(const QColor &c) { return qGray(c.rgb()) >= 110; }
bool dark(const QColor &c) { return qGray(c.rgb()) <= 80; }

// The label as drawn holds dark text pixels inside its border.
bool drawnWithDarkText(QWidget *label)
{
    const QImage image = label->grab().toImage();
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (dark(image.pixelColor(x, y)))
                return true;
    return false;
}

} // namespace

void TestDarkDesktop::initTestCase()
{
    // As a dark desktop theme sets it, before the window is built.
    QApplication::setPalette(darkPalette());
    QVERIFY(!light(QApplication::palette().color(QPalette::Base)));
}

void TestDarkDesktop::sheetTextsStayDarkOnLightBackgrounds()
{
    ProgramFolder folder;
    Window w(folder);
    Form1 &f = *w;
    startGame(f, 2, {QStringLiteral("Anna"), QStringLiteral("Pekka")});
    record(f, 8, Dice{6, 6, 5, 5, 1});

    // Every label on a light background of its own: the row headings, the
    // score cells, the name headers, the list's rows, the greeting.
    int checked = 0;
    for (EventLabel *label : f.findChildren<EventLabel *>()) {
        if (!label->autoFillBackground() || !light(label->backColor()) || label->foreColor() == QColor(Qt::red))
            continue;
        QVERIFY2(dark(label->foreColor()), qPrintable(label->text()));
        ++checked;
    }
    QVERIFY2(checked > 150, qPrintable(QString::number(checked)));
    QVERIFY(drawnWithDarkText(f.categoryHeadings[8]));
    QVERIFY(drawnWithDarkText(f.LblKaksiPariaPelaaja[0]));
    QVERIFY(drawnWithDarkText(f.LblNimi[0]));  // player 1 waits: the system text colour
    QVERIFY(drawnWithDarkText(f.Lbl99Nimi[0]));
    QVERIFY(drawnWithDarkText(f.Lbl99Sijoitus[0]));

    // The list's name, date and score cells are white, its places light grey,
    // the greeting on the light yellow of tooltips.
    for (const Form1::ListColumn *column : {&f.Lbl99Nimi, &f.Lbl99Pvm, &f.Lbl99Tulos})
        QCOMPARE((*column)[5]->backColor(), QColor(Qt::white));
    QVERIFY(light(f.Lbl99Sijoitus[5]->backColor()));
    QVERIFY(light(f.LblAlkuTervehdys->backColor()));
    QVERIFY(dark(f.LblAlkuTervehdys->foreColor()));

    // Buttons, options and boxes share the light look.
    for (QWidget *control : std::initializer_list<QWidget *>{f.CmdKaikkiUudelleen, f.CmdAloitaPeli, f.playerCountOptions[0],
                                                              f.ComboNimi[0], f.Txt99ListaNimi}) {
        const QPalette p = control->palette();
        QVERIFY(dark(p.color(QPalette::ButtonText)) && light(p.color(QPalette::Button)));
        QVERIFY(dark(p.color(QPalette::Text)) && light(p.color(QPalette::Base)));
        QVERIFY(dark(p.color(QPalette::WindowText)) && light(p.color(QPalette::Window)));
    }

    // The start screen and the list's frames take the window's font.
    for (QGroupBox *frame : {f.FrameAloitusruutu, f.Frame99Parasta}) {
        QCOMPARE(frame->font().pointSizeF(), 12.0);
        QVERIFY(frame->font().bold());
    }
}

QTEST_MAIN(TestDarkDesktop)
#include "test_dark_desktop.moc"
