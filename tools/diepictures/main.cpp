// diepictures <output-folder>
//
// Draws the die pictures that Kopperi loads by name beside its executable:
// the held faces 1..6, the faces marked to be thrown again v1..v6, the blank
// die t1, the four start pictures shown before the first throw, and the
// window icon. Every die picture is drawn at twice the size as well ("4@2x.png"
// beside "4.bmp"), for screens that scale the window by 2. Runs at build time;
// the output is the same on every run.
//
// Raster painting on a QImage needs no application object, so none is made.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRadialGradient>
#include <QRectF>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdio>

namespace {

// A die box is 58 x 53 pixels and shows its picture unscaled from the top
// left, so a 56 x 49 picture leaves a thin margin of the frame around it.
constexpr int pictureWidth = 56;
constexpr int pictureHeight = 49;
constexpr int iconSize = 64;

// 24-bit bitmaps have no transparency: the area around the die is painted in
// the window background grey so the picture blends with its frame.
const QColor windowGrey(239, 239, 239);

// How one kind of die is coloured.
struct DieLook {
    QColor faceLight;   // top left of the face
    QColor faceDark;    // bottom right of the face
    QColor border;
    qreal borderWidth;
    QColor pip;
    QColor pipHighlight;  // centre of a pip, for a little depth
};

const DieLook heldLook{
    QColor(255, 255, 252), QColor(236, 232, 220),
    QColor(128, 124, 116), 1.0,
    QColor(28, 30, 38), QColor(70, 74, 88)};

// The marked die must stand out at a glance: a warm amber face with a strong
// orange border, so a row of dice shows at once which will be thrown again.
const DieLook markedLook{
    QColor(255, 230, 130), QColor(250, 190, 50),
    QColor(214, 96, 0), 3.0,
    QColor(60, 30, 6), QColor(110, 62, 20)};

const DieLook blankLook{
    QColor(226, 226, 224), QColor(204, 204, 200),
    QColor(150, 150, 148), 1.0,
    QColor(), QColor()};

const DieLook startLook{
    QColor(232, 58, 58), QColor(172, 22, 32),
    QColor(110, 12, 18), 1.0,
    QColor(255, 255, 255), QColor(255, 255, 255)};

// Pip places on a 3 x 3 grid, as (column, row) with -1, 0, 1 per axis.
struct PipPlace {
    int column;
    int row;
};

// The usual arrangement for each face 1..6; face n uses the first n places
// of its row (row 0 is unused).
const std::array<std::array<PipPlace, 6>, 7> pipPlaces{{
    {{}},
    {{{0, 0}}},
    {{{1, -1}, {-1, 1}}},
    {{{1, -1}, {0, 0}, {-1, 1}}},
    {{{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}},
    {{{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}}},
    {{{-1, -1}, {-1, 0}, {-1, 1}, {1, -1}, {1, 0}, {1, 1}}},
}};

// Paints one die into `square` (its outer edge, in pixels). Face 0 is a
// blank die without pips.
void paintDie(QPainter &painter, const QRectF &square, const DieLook &look,
              int face)
{
    const qreal side = square.width();
    const qreal radius = side * 0.19;

    // The stroke is centred on the path, so the path is inset by half the
    // border width to keep the whole die inside `square`.
    const qreal inset = look.borderWidth / 2.0;
    const QRectF outline = square.adjusted(inset, inset, -inset, -inset);

    QLinearGradient shading(square.topLeft(), square.bottomRight());
    shading.setColorAt(0.0, look.faceLight);
    shading.setColorAt(1.0, look.faceDark);

    painter.setPen(QPen(look.border, look.borderWidth));
    painter.setBrush(shading);
    painter.drawRoundedRect(outline, radius - inset, radius - inset);

    if (face < 1 || face > 6)
        return;

    const QPointF centre = square.center();
    const qreal step = side * 0.265;       // from the centre to an outer pip
    // A lone pip is drawn larger, as on real dice, so the 1 does not look empty.
    const qreal pipRadius = side * (face == 1 ? 0.125 : 0.1);

    painter.setPen(Qt::NoPen);
    for (int i = 0; i < face; ++i) {
        const PipPlace place = pipPlaces[face][static_cast<std::size_t>(i)];
        const QPointF at(centre.x() + place.column * step,
                         centre.y() + place.row * step);
        QRadialGradient pipShade(at + QPointF(-pipRadius * 0.3, -pipRadius * 0.3),
                                 pipRadius * 1.2);
        pipShade.setColorAt(0.0, look.pipHighlight);
        pipShade.setColorAt(1.0, look.pip);
        painter.setBrush(pipShade);
        painter.drawEllipse(at, pipRadius, pipRadius);
    }
}

// Where the die sits in a 56 x 49 picture: a 47-pixel square, centred
// sideways and with one pixel of margin above and below.
QRectF pictureSquare()
{
    constexpr qreal side = 47.0;
    return QRectF((pictureWidth - side) / 2.0, (pictureHeight - side) / 2.0,
                  side, side);
}

// `scale` 2 draws the same die with twice the pixels each way, so that a
// scaled screen shows it sharp at the same size.
QImage diePicture(const DieLook &look, int face, int scale)
{
    QImage image(pictureWidth * scale, pictureHeight * scale, QImage::Format_RGB888);
    image.fill(windowGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    paintDie(painter, pictureSquare(), look, face);
    return image;
}

// Two dice leaning on each other: a red one behind, a white one in front.
QImage windowIcon()
{
    QImage image(iconSize, iconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.save();
    painter.translate(40.0, 23.5);
    painter.rotate(18.0);
    paintDie(painter, QRectF(-18.0, -18.0, 36.0, 36.0), startLook, 4);
    painter.restore();

    painter.save();
    painter.translate(23.5, 40.0);
    painter.rotate(-8.0);
    paintDie(painter, QRectF(-19.0, -19.0, 38.0, 38.0), heldLook, 3);
    painter.restore();
    return image;
}

bool save(const QImage &image, const QDir &folder, const QString &name,
          const char *format)
{
    const QString path = folder.filePath(name);
    if (image.save(path, format))
        return true;
    std::fprintf(stderr, "diepictures: cannot write %s\n",
                 qPrintable(QDir::toNativeSeparators(path)));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: diepictures <output-folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "diepictures: cannot create folder %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    // "4.bmp" as the program has always read it, and "4@2x.png" twice the
    // size; PNG keeps the twice-size set small inside the program.
    auto saveDie = [&](const DieLook &look, int face, const QString &name) {
        ok &= save(diePicture(look, face, 1), folder, name + QStringLiteral(".bmp"), "BMP");
        ok &= save(diePicture(look, face, 2), folder, name + QStringLiteral("@2x.png"), "PNG");
    };
    for (int face = 1; face <= 6; ++face) {
        const QString digit = QString::number(face);
        saveDie(heldLook, face, digit);
        saveDie(markedLook, face, QStringLiteral("v") + digit);
    }
    saveDie(blankLook, 0, QStringLiteral("t1"));

    // Before the first throw the dice show red faces counting down 6, 5, 4, 3.
    for (int start = 0; start < 4; ++start)
        saveDie(startLook, 6 - start, QStringLiteral("start%1").arg(start));
    ok &= save(windowIcon(), folder, QStringLiteral("icon.png"), "PNG");

    return ok ? 0 : 1;
}
