// The least a Qt Widgets program with a window like Kopperi's can cost: a main
// window of the same client size with a two-menu bar, as many bordered labels
// with text as Kopperi has, a few buttons and a group box. Nothing is read,
// nothing is computed. scripts/bench.sh compares Kopperi's start-up with it.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

namespace {

constexpr int clientWidth = 662;
constexpr int clientHeight = 482;
// Kopperi's window holds 161 labels (156 text labels and 5 dice).
constexpr int labelCount = 161;

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    auto *client = new QWidget(&window);
    client->setFixedSize(clientWidth, clientHeight);
    window.setCentralWidget(client);

    QMenu *game = window.menuBar()->addMenu(QStringLiteral("&Peli..."));
    game->addAction(QStringLiteral("...&uusiksi"));
    game->addAction(QStringLiteral("...&lopetus"));
    QMenu *undo = window.menuBar()->addMenu(QStringLiteral("P&eruutus"));
    undo->addAction(QStringLiteral("E&dellisen valinnan peruutus"));

    // A blue strip across the top, as Kopperi's heading: the first-frame probe
    // looks for the same colour in both windows.
    auto *strip = new QLabel(QStringLiteral(" Floor"), client);
    strip->setGeometry(0, 0, clientWidth, 25);
    strip->setFrameShape(QFrame::Box);
    QPalette blue = strip->palette();
    blue.setColor(QPalette::Window, QColor(0, 0, 255));
    strip->setPalette(blue);
    strip->setAutoFillBackground(true);

    // The other labels in a grid of 20 rows below the strip.
    const int columns = (labelCount - 1 + 19) / 20;
    for (int i = 0; i < labelCount - 1; ++i) {
        auto *label = new QLabel(QStringLiteral("Solu %1").arg(i + 1), client);
        label->setFrameShape(QFrame::Box);
        label->setGeometry(5 + (i / 20) * (440 / columns), 30 + (i % 20) * 22, 440 / columns - 2, 20);
    }

    auto *frame = new QGroupBox(QStringLiteral("Painikkeet"), client);
    frame->setGeometry(455, 30, 200, 200);
    const char *captions[] = {"&Valitut uudelleen", "&Säästä kaikki", "&Kaikki uudelleen"};
    for (int k = 0; k < 3; ++k) {
        auto *button = new QPushButton(QString::fromUtf8(captions[k]), frame);
        button->setGeometry(10, 25 + 55 * k, 180, 45);
    }

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return app.exec();
}
