#include "ui/Layout.h"

#include "dice/DieNames.h"
#include "ui/CaptionButton.h"
#include "ui/EventLabel.h"
#include "ui/ListScrollBar.h"
#include "ui/RowHeading.h"

#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace layout {
namespace {

constexpr Colour rgb(int r, int g, int b) { return Colour{(r << 16) | (g << 8) | b, QPalette::NoRole}; }
constexpr Colour system(QPalette::ColorRole role) { return Colour{-1, role}; }

const Colour headingBlue = rgb(0, 0, 255);
const Colour headingText = rgb(224, 224, 224);
const Colour rowGrey = rgb(224, 224, 224);
const Colour sumGreen = rgb(128, 255, 128);
// The caption-text system colour, white on the light desktop the window keeps.
const Colour captionText = rgb(255, 255, 255);

const Font rowHeadingFont{9.75, true};
const Font frameFont{11.25, false};
const Font entryFont{11.25, true};
const Font listBold{8.25, true};
const Font listRegular{8.25, false};

QString u(const char *text) { return QString::fromUtf8(text); }

QString element(const char *array, int index)
{
    return QStringLiteral("%1(%2)").arg(u(array)).arg(index);
}

const char *const nameBoxTip = "Kirjoita tähän pelaajan nimi tai valitse alasvetovalikosta.";

// The score sheet: a row heading and four player cells per row.
struct SheetRow {
    int top;
    const char *heading;
    const char *caption;
    const char *tooltip;
    Colour back;
    const char *cells;
};

const SheetRow sheetRows[] = {
    {360, "LblPelaajat", " Pelaajat", "", rgb(0, 192, 192), "LblNimi"},
    {720, "LblYkköset", " Ykköset", "Tähän sarakeeseen ykkösiä.", rowGrey, "LblYkkösetPelaaja"},
    {1080, "LblKakkoset", " Kakkoset", "Tähän sarakkeeseen kakkosia.", rowGrey, "LblKakkosetPelaaja"},
    {1440, "LblKolmoset", " Kolmoset", "Tähän sarakkeeseen kolmosia.", rowGrey, "LblKolmosetPelaaja"},
    {1800, "LblNeloset", " Neloset", "Tähän sarakkeeseen nelosia.", rowGrey, "LblNelosetPelaaja"},
    {2160, "LblVitoset", " Vitoset", "Tähän sarakkeeseen vitosia.", rowGrey, "LblVitosetPelaaja"},
    {2520, "LblKutoset", " Kutoset", "Tähän sarakkeeseen kutosia.", rowGrey, "LblKutosetPelaaja"},
    {2880, "LblYläYhteensä", " Yhteensä", "Tähän sarakkeeseen tulee yläsarakkeiden pisteet.", sumGreen, "LblYläYhteensäPelaaja"},
    {3240, "LblBonus", " Bonus", "Tähän sarakkeeseen tulee Bonuspisteitä 50 jos yläsarakkeiden summa on 63 tai enemmän.", rgb(255, 128, 128), "LblBonusPelaaja"},
    {3600, "LblYksiPari", " Yksi pari", "Tähän sarakkeeseen esim. kaksi kutosta.", rowGrey, "LblYksiPariPelaaja"},
    {3960, "LblKaksiParia", " Kaksi paria", "Tähän sarakkeeseen esim. kaksi kutosta ja kaksi vitosta.", rowGrey, "LblKaksiPariaPelaaja"},
    {4320, "LblKolmeSamaa", " Kolme samaa", "Tähän sarakkeeseen esim. kolme kutosta.", rowGrey, "LblKolmeSamaaPelaaja"},
    {4680, "LblNeljäsamaa", " Neljä samaa", "Tähän sarakkeeseen esim. neljä kutosta.", rowGrey, "LblNeljäSamaaPelaaja"},
    {5040, "LblPieniSuora", " Pieni suora", "Tähän sarakkeeseen suora ykkösestä vitoseen.", rowGrey, "LblPieniSuoraPelaaja"},
    {5400, "LblSuuriSuora", " Suuri suora", "Tähän sarakkeeseen suora kakkosesta kutoseen.", rowGrey, "LblSuuriSuoraPelaaja"},
    {5760, "LblTäyskäsi", " Täyskäsi", "Tähän sarakkeeseen esim. kolme kutosta ja kaksi vitosta.", rowGrey, "LblTäyskäsiPelaaja"},
    {6120, "LblSattuma", " Sattuma", "Tähän sarakkeeseen kelpaa mikä tahansa tulos.", rowGrey, "LblSattumaPelaaja"},
    {6480, "LblYatzy", " Y A T Z Y", "Tähän sarakkeeseen saat 50 pistettä viidestä samasta arpakuution silmäluvusta.", rgb(255, 255, 0), "LblYatzyPelaaja"},
    {6840, "LblKaikkiYhteensä", " Yhteensä", "Tähän sarakkeeseen tulee yhteispisteet.", sumGreen, "LblKaikkiYhteensäPelaaja"},
};
const int playerColumnLeft[4] = {1440, 2520, 3600, 4680};

// The rows a player chooses for the dice: all but the names, the sums and the bonus.
bool isCategoryRow(const SheetRow &row)
{
    const QByteArray heading(row.heading);
    return heading != "LblPelaajat" && heading != "LblYläYhteensä" && heading != "LblBonus" &&
           heading != "LblKaikkiYhteensä";
}

const char *const greeting =
    "\n"
    "    Bugit ja parannusehdotukset voi ilmoittaa:\n"
    "\n"
    "    Kopperin kehitystiimille\n"
    "\n"
    "    Kopperi, versio 1.0\n"
    "    7.12.2026";

void addControl(std::vector<ControlRow> &table, ControlRow row) { table.push_back(std::move(row)); }

std::vector<ControlRow> makeTable()
{
    std::vector<ControlRow> t;
    using K = Kind;

    // Heading strip
    addControl(t, {u("LblOtsikko"), K::Label, {}, 0, -15, 9975, 375,
                   u(" KOPPERI 1.0     Yatzy-noppapeli yhdestä neljään pelaajalle"), {}, {},
                   headingBlue, headingText, true});

    // Score sheet
    for (const SheetRow &row : sheetRows) {
        const bool names = QByteArray(row.cells) == "LblNimi";
        addControl(t, {u(row.heading), isCategoryRow(row) ? K::Row : K::Label, {}, 0, row.top, 1455, 375,
                       u(row.caption), u(row.tooltip),
                       names ? Font{} : rowHeadingFont, row.back, {}, true});
        for (int p = 0; p < 4; ++p) {
            ControlRow cell{element(row.cells, p), K::Label, {}, playerColumnLeft[p], row.top, 1095, 375,
                             {}, {}, {}, row.back, {}, true, names ? Align::Left : Align::Centre};
            if (names) {
                cell.caption = u(" Nimi");
                cell.enabled = false;
            } else if (QByteArray(row.cells) == "LblKolmosetPelaaja") {
                cell.caption = u(" ");
            }
            addControl(t, cell);
        }
    }

    // Dice column
    addControl(t, {u("FrameArpakuutiot"), K::Frame, {}, 5880, 390, 1335, 5220, u("Arpakuutiot"), {}, frameFont});
    const int dieTops[5] = {360, 1320, 2280, 3255, 4200};
    for (int d = 0; d < 5; ++d) {
        ControlRow die{QStringLiteral("Arpakuutio%1").arg(d), K::Die, u("FrameArpakuutiot"), 240, dieTops[d], 870, 800,
                        {}, u(heldDieTip)};
        die.enabled = false;
        addControl(t, die);
    }
    addControl(t, {u("FrameVuorossa"), K::Frame, {}, 5880, 5760, 1335, 700, u("Vuorossa"), {}, frameFont});
    addControl(t, {u("LblVuorossa"), K::Label, u("FrameVuorossa"), 120, 250, 1095, 375});
    addControl(t, {u("FrameHeittokerrat"), K::Frame, {}, 5880, 6480, 1335, 700, u("Heittokerta"), {}, frameFont});
    addControl(t, {u("LblHeittokerrat"), K::Label, u("FrameHeittokerrat"), 120, 250, 1095, 375, {},
                   u("Heittokerrat max. 3."), {}, {}, {}, false, Align::Centre});

    // Button area, and the best-99 name entry that covers it when shown
    addControl(t, {u("Frame1"), K::Frame, {}, 7320, 360, 2535, 2985});
    ControlRow rethrow{u("CmdValitutUudelleen"), K::Button, {}, 7440, 600, 2295, 735, u("&Valitut uudelleen"),
                        u("Heittää uudelleen valittuna olevat arpakuutiot.")};
    rethrow.enabled = false;
    addControl(t, rethrow);
    ControlRow keepAll{u("CmdSäästäKaikki"), K::Button, {}, 7440, 1560, 2295, 735, u("&Säästä kaikki"),
                        u("Lukitsee arpakuutiot tallennusta varten.")};
    keepAll.enabled = false;
    addControl(t, keepAll);
    ControlRow throwAll{u("CmdKaikkiUudelleen"), K::Button, {}, 7440, 2520, 2295, 735, u("&Kaikki  uudelleen"),
                         u("Heittää kaikki arpakuutiot uudelleen.")};
    throwAll.enabled = false;
    addControl(t, throwAll);

    auto hidden = [](ControlRow row) { row.visible = false; return row; };
    addControl(t, hidden({u("Frame99ListaPohja"), K::Frame, {}, 7320, 450, 2535, 2880, u("Pääsit 99-listalle !")}));
    addControl(t, hidden({u("Lbl99Listalle1"), K::Label, u("Frame99ListaPohja"), 180, 390, 2160, 400,
                          u("Onneksi olkoon pe-"), {}, entryFont}));
    addControl(t, hidden({u("Lbl99Listalle2"), K::Label, u("Frame99ListaPohja"), 180, 780, 2160, 405, {}, {}, entryFont}));
    addControl(t, hidden({u("Lbl99Listalle3"), K::Label, u("Frame99ListaPohja"), 180, 1170, 2160, 405,
                          u("Pääsit 99-listan"), {}, entryFont}));
    addControl(t, hidden({u("Lbl99Listalle4"), K::Label, u("Frame99ListaPohja"), 180, 1560, 2160, 405, {}, {}, entryFont}));
    addControl(t, hidden({u("Txt99ListaNimi"), K::TextBox, u("Frame99ListaPohja"), 165, 2205, 1335, 465, {},
                          u("Kirjoita tähän nimi jonka haluat tallentuvan 99-listalle. Max 8 kirjainta. "
                            "Pidemmästä osa voi jäädä näkymättä.")}));
    addControl(t, hidden({u("Cmd99ListaOK"), K::Button, u("Frame99ListaPohja"), 1785, 2250, 510, 360, u("OK"),
                          u("Hyväksy nimi klikkaamalla tästä.")}));

    // Best-99 view. A place, a date and a score need their cell's whole width
    // ("07.12.26" loses its last digit to the indent); the names go with them.
    addControl(t, {u("Frame99Parasta"), K::Frame, {}, 7320, 3435, 2535, 3780, u("99 parasta tulosta  ")});
    auto flush = [](ControlRow row) { row.indent = false; return row; };
    for (int r = 0; r < 13; ++r) {
        const int top = 375 + 255 * r;
        addControl(t, flush({element("Lbl99Sijoitus", r), K::Label, u("Frame99Parasta"), 60, top, 340, 270,
                             QStringLiteral("%1.").arg(r + 1), {}, listBold, system(QPalette::Midlight), {}, true,
                             Align::Right}));
        addControl(t, flush({element("Lbl99Nimi", r), K::Label, u("Frame99Parasta"), 400, top, 860, 270, {}, {},
                             listRegular, captionText, {}, true}));
        addControl(t, flush({element("Lbl99Pvm", r), K::Label, u("Frame99Parasta"), 1260, top, 690, 270, {}, {},
                             listRegular, captionText, {}, true}));
        addControl(t, flush({element("Lbl99Tulos", r), K::Label, u("Frame99Parasta"), 1950, top, 360, 270, {}, {},
                             listRegular, captionText, {}, true}));
    }
    addControl(t, {u("Scroll99Lista"), K::ScrollBar, u("Frame99Parasta"), 2340, 375, 120, 3330});

    // Start screen, above the score sheet it covers
    addControl(t, {u("LblAloitusruutu"), K::Label, {}, 135, 840, 5535, 3390, {}, {}, {}, {}, {}, true});
    addControl(t, {u("FrameAloitusruutu"), K::Frame, {}, 255, 885, 5295, 2400,
                   u(" Pelaajien lukumäärä       Nimet")});
    const char *options[4][3] = {
        {"Opt1Pelaaja", "&1 Pelaaja", "Valitse pelaajamääräksi yksi klikkaamalla tästä."},
        {"Opt2Pelaajaa", "&2 Pelaajaa", "Valitse pelaajamääräksi kaksi klikkaamalla tästä."},
        {"Opt3Pelaajaa", "&3 Pelaajaa", "Valitse pelaajamääräksi kolme klikkaamalla tästä."},
        {"Opt4Pelaajaa", "&4 Pelaajaa", "Valitse pelaajamääräksi neljä klikkaamalla tästä."},
    };
    for (int k = 0; k < 4; ++k) {
        const int top = 360 + 480 * k;
        addControl(t, {u(options[k][0]), K::Option, u("FrameAloitusruutu"), 240, top, 1815, 495, u(options[k][1]),
                       u(options[k][2])});
        ControlRow box{QStringLiteral("ComboNimi%1").arg(k), K::Combo, u("FrameAloitusruutu"), 2880, top, 2295, 405,
                        u("Nimi"), u(nameBoxTip)};
        box.enabled = k == 0;
        addControl(t, box);
    }
    addControl(t, {u("FrameAloitaLopeta"), K::Frame, {}, 255, 3180, 5295, 975});
    addControl(t, {u("CmdAloitaPeli"), K::Button, {}, 375, 3450, 2415, 615, u("&Aloita peli"),
                   u("Aloita peli klikkaamalla tästä.")});
    addControl(t, {u("CmdLopetaPeli"), K::Button, {}, 3120, 3450, 2295, 615, u("&Lopeta peli"),
                   u("Lopeta Kopperi klikkaamalla tästä.")});
    addControl(t, {u("LblAlkuTervehdys"), K::Label, {}, 120, 4440, 5520, 2625, u(greeting), {}, {},
                   system(QPalette::ToolTipBase), {}, true});
    return t;
}

QFont fontOf(const Font &font)
{
    if (font.points == 0)
        return windowFont();
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

QWidget *create(const ControlRow &row, QWidget *parent)
{
    switch (row.kind) {
    case Kind::Label: {
        auto *label = new EventLabel(parent);
        label->setText(row.caption);
        return label;
    }
    case Kind::Row: {
        auto *heading = new RowHeading(parent);
        heading->setText(row.caption);
        return heading;
    }
    case Kind::Die:
        return new DieBox(parent);
    case Kind::Button:
        return new CaptionButton(row.caption, parent);
    case Kind::Option:
        return new QRadioButton(row.caption, parent);
    case Kind::Combo: {
        auto *box = new QComboBox(parent);
        // Editable through a line edit of its own, as setEditable(true) would
        // make it, but without the drop-down list's window, which
        // setEditable makes at once and the box otherwise makes when the
        // list first drops down: four of them were a tenth of the window's
        // making.
        auto *edit = new QLineEdit(box);
        edit->setPalette(box->palette());
        // The box keeps what the player types, with no completer; the names
        // are offered by the list. A line edit that comes with one of its own
        // spares the box making its default one over the names, only to be
        // removed: setCompleter(nullptr) removes this one.
        edit->setCompleter(new QCompleter(edit));
        box->setLineEdit(edit);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->setCurrentText(row.caption);
        return box;
    }
    case Kind::TextBox:
        return new QLineEdit(parent);
    case Kind::Frame:
        return new QGroupBox(row.caption, parent);
    case Kind::ScrollBar:
        return new ListScrollBar(parent);
    }
    return nullptr;
}

void applyLook(const ControlRow &row, QWidget *widget)
{
    // Most controls take the font their parent passes on; setting it again
    // costs a resolve of every font and palette of the control.
    if (const QFont font = fontOf(row.font); font != widget->font())
        widget->setFont(font);
    if (!row.tooltip.isEmpty())
        widget->setToolTip(row.tooltip);
    // Labels and frames are opaque: the start screen hides the sheet below it.
    widget->setAutoFillBackground(row.kind == Kind::Label || row.kind == Kind::Row || row.kind == Kind::Frame);
    auto *label = dynamic_cast<EventLabel *>(widget);
    if (!label)
        return;
    if (row.back.isSet())
        label->setBackColor(row.back.resolve(label->palette()));
    if (row.fore.isSet())
        label->setForeColor(row.fore.resolve(label->palette()));
    if (row.border) {
        label->setFrameShape(QFrame::Box);
        label->setLineWidth(1);
    }
    if (!row.indent)
        label->setIndent(0);
    const Qt::Alignment horizontal = row.align == Align::Centre ? Qt::AlignHCenter
                                     : row.align == Align::Right ? Qt::AlignRight
                                                                  : Qt::AlignLeft;
    // The indent also keeps a text off the top of its frame; without it the
    // text is centred in height instead.
    label->setAlignment(horizontal | (row.indent ? Qt::AlignTop : Qt::AlignVCenter));
}

} // namespace

QColor Colour::resolve(const QPalette &palette) const
{
    if (rgb >= 0)
        return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return palette.color(QPalette::Active, role);
}

int pixels(int twips)
{
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

const QFont &windowFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(12);
        f.setBold(true);
        return f;
    }();
    return font;
}

const QPalette &windowPalette()
{
    // Written out: a style's standard palette follows a dark desktop theme too.
    static const QPalette palette = [] {
        const QColor face(240, 240, 240);
        QPalette p(Qt::black, face, Qt::white, QColor(160, 160, 160), QColor(160, 160, 160), Qt::black, Qt::white,
                   Qt::white, face);
        p.setColor(QPalette::Midlight, QColor(227, 227, 227));
        p.setColor(QPalette::Shadow, QColor(105, 105, 105));
        p.setColor(QPalette::AlternateBase, QColor(245, 245, 245));
        p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
        p.setColor(QPalette::ToolTipText, Qt::black);
        p.setColor(QPalette::Highlight, QColor(0, 120, 215));
        p.setColor(QPalette::HighlightedText, Qt::white);
        p.setColor(QPalette::Link, QColor(0, 102, 204));
        p.setColor(QPalette::PlaceholderText, QColor(109, 109, 109));
        const QColor greyText(109, 109, 109);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(QPalette::Disabled, role, greyText);
        p.setColor(QPalette::Disabled, QPalette::Base, face);
        return p;
    }();
    return palette;
}

const std::vector<ControlRow> &controls()
{
    static const std::vector<ControlRow> table = makeTable();
    return table;
}

QHash<QString, QWidget *> build(QWidget *client)
{
    QHash<QString, QWidget *> byName;
    byName.reserve(int(controls().size()));
    for (const ControlRow &row : controls()) {
        QWidget *parent = row.parent.isEmpty() ? client : byName.value(row.parent);
        QWidget *widget = create(row, parent);
        applyLook(row, widget);
        widget->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
        widget->setEnabled(row.enabled);
        widget->setVisible(row.visible);
        byName.insert(row.name, widget);
    }
    return byName;
}

} // namespace layout
