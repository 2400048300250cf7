#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPalette>
#include <QString>
#include <vector>

class QWidget;

// The window's controls as data: one row per control, in twips as the layout
// was drawn (15 twips = 1 pixel at 96 dpi). Controls are created in table
// order, so a later row lies above an earlier one where they overlap.
namespace layout {

enum class Kind { Label, Row, Die, Button, Option, Combo, TextBox, Frame, ScrollBar };  // Row: a category heading
enum class Align { Left, Centre, Right };

// A colour: either RGB or one of the palette's system colours; none keeps the default.
struct Colour {
    int rgb = -1;
    QPalette::ColorRole role = QPalette::NoRole;
    bool isSet() const { return rgb >= 0 || role != QPalette::NoRole; }
    QColor resolve(const QPalette &palette) const;
};

struct Font {
    double points = 0;  // 0: the window font, Arial 12 pt bold
    bool bold = true;
};

struct ControlRow {
    QString name{};       // "LblNimi(2)" for element 2 of a control array
    Kind kind = Kind::Label;
    QString parent{};     // empty: the window's client area
    int left = 0, top = 0, width = 0, height = 0;
    QString caption{};
    QString tooltip{};
    Font font{};
    Colour back{}, fore{};
    bool border = false;
    Align align = Align::Left;
    bool visible = true;
    bool enabled = true;
    bool indent = true;  // a bordered label keeps half an "x" free inside its frame
};

int pixels(int twips);

const QFont &windowFont();
// The window's system colours: those of a light desktop (black button and
// window text, light grey 3-D surfaces, yellow tooltip background), whatever
// the desktop's theme, because the fixed light backgrounds of the sheet and the
// start screen are drawn to go with them.
const QPalette &windowPalette();

// Every control of the window, in creation order.
const std::vector<ControlRow> &controls();

// Creates every control as a child of `client` and returns them by name.
QHash<QString, QWidget *> build(QWidget *client);

} // namespace layout
