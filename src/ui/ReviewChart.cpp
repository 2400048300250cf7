#include "ui/ReviewChart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int turns = 15;

} // namespace

ReviewChart::ReviewChart(const GameReview &review, QWidget *parent) : QWidget(parent)
{
    setMinimumSize(380, 300);
    setAccessibleName(QStringLiteral("Pelin kulku"));
    setReview(review);
}

void ReviewChart::setReview(const GameReview &review)
{
    review_ = review;
    // Whole tens around every expectation and the reference line.
    double low = review.start, high = review.start;
    for (const PlayerReview &player : review.players) {
        for (const PlayerReview::Point &point : player.path) {
            low = std::min(low, point.expectation);
            high = std::max(high, point.expectation);
        }
    }
    low_ = std::floor(low / 10.0) * 10.0 - 10.0;
    high_ = std::ceil(high / 10.0) * 10.0 + 10.0;
    describe();
    update();
}

void ReviewChart::setView(View view)
{
    view_ = view;
    describe();
    update();
}

void ReviewChart::describe()
{
    if (view_ == View::Expectation) {
        setAccessibleDescription(
            QStringLiteral("Kaavio pelaajien odotuksesta jokaisen heiton ja valinnan jälkeen: vuorot 1–15 "
                           "vaakasuunnassa, pisteet pystysuunnassa, ja täydellisen pelin odotus %1 pisteen viivana. "
                           "Luvut ovat yllä olevilla riveillä.")
                .arg(startText()));
        return;
    }
    // The chances at the last turn reckoned, which a screen reader cannot
    // read off the lines.
    QStringList last;
    double turn = 0;
    for (const PlayerReview &player : review_.players) {
        if (player.chances.empty())
            continue;
        turn = player.chances.back().turns;
        last << QStringLiteral("%1 %2").arg(player.name, percentage(player.chances.back().expectation));
    }
    QString text = QStringLiteral("Kaavio pelaajien voittomahdollisuudesta jokaisen vuoron jälkeen: vuorot 1–15 "
                                  "vaakasuunnassa, voittomahdollisuus 0–100 % pystysuunnassa.");
    if (!last.isEmpty())
        text += QStringLiteral(" Vuoron %1 jälkeen: %2.").arg(std::ceil(turn)).arg(last.join(QStringLiteral(", ")));
    setAccessibleDescription(text);
}

std::vector<QRectF> ReviewChart::legendPlaces() const
{
    // A sample of each player's line and the name, on as many rows as the
    // names need.
    const QFontMetrics metrics(font());
    const qreal left = metrics.horizontalAdvance(QStringLiteral("100 %")) + 12;
    const qreal rowHeight = metrics.height() + 8;
    std::vector<QRectF> places;
    qreal x = left;
    qreal y = 2;
    for (const PlayerReview &player : review_.players) {
        const qreal wide = 34 + metrics.horizontalAdvance(player.name) + 4;
        if (x > left && x + wide > width() - 16) {
            x = left;
            y += rowHeight;
        }
        places.push_back({x + 34, y, wide - 34, rowHeight});
        x += wide + 20;
    }
    return places;
}

QString ReviewChart::startText() const
{
    return QString::number(review_.start, 'f', 2).replace(u'.', u',');
}

QColor ReviewChart::lineColor(int player)
{
    static const QColor colors[] = {QColor(0, 114, 178), QColor(213, 94, 0), QColor(0, 158, 115), QColor(204, 121, 167)};
    return colors[player % 4];
}

Qt::PenStyle ReviewChart::lineStyle(int player)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};
    return styles[player % 4];
}

void ReviewChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics(font());
    const int left = metrics.horizontalAdvance(QStringLiteral("100 %")) + 12;
    const std::vector<QRectF> legend = legendPlaces();
    const qreal legendBottom = legend.empty() ? metrics.height() + 8 : legend.back().bottom();
    const QRect plot = rect().adjusted(left, int(legendBottom) + 6, -16, -(metrics.height() + 10));
    const bool chances = view_ == View::Chance;
    const double low = chances ? 0.0 : low_, high = chances ? 1.0 : high_;
    const auto x = [&plot](double t) { return plot.left() + t / turns * plot.width(); };
    const auto y = [&](double value) { return plot.bottom() - (value - low) / (high - low) * plot.height(); };

    // The frame, the turns, and the points or the chances.
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(plot);
    for (int t = 1; t <= turns; ++t) {
        const QPointF at(x(t), plot.bottom());
        painter.setPen(QPen(QColor(220, 220, 220), 1));
        painter.drawLine(QPointF(at.x(), plot.top()), at);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at.x() - 20, plot.bottom() + 4, 40, metrics.height()), Qt::AlignHCenter,
                         QString::number(t));
    }
    const double step = chances ? 0.25 : (high - low) > 150 ? 50 : (high - low) > 60 ? 20 : 10;
    for (double value = std::ceil(low / step) * step; value <= high + 1e-9; value += step) {
        painter.setPen(QPen(QColor(220, 220, 220), 1));
        painter.drawLine(QPointF(plot.left(), y(value)), QPointF(plot.right(), y(value)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y(value) - metrics.height() / 2.0, plot.left() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         chances ? percentage(value) : QString::number(value, 'f', 0));
    }
    // The reference: perfect play's expectation, or an even chance.
    const double reference = chances ? 1.0 / double(std::max<std::size_t>(1, review_.players.size())) : review_.start;
    painter.setPen(QPen(QColor(90, 90, 90), 1.5, Qt::DashDotDotLine));
    painter.drawLine(QPointF(plot.left(), y(reference)), QPointF(plot.right(), y(reference)));
    painter.drawText(QRectF(plot.right() - 204, y(reference) - metrics.height() - 2, 200, metrics.height()),
                     Qt::AlignRight, chances ? percentage(reference) : startText());

    // Every player's line, and the legend above the chart.
    for (std::size_t p = 0; p < review_.players.size(); ++p) {
        const PlayerReview &player = review_.players[p];
        QPen pen(lineColor(int(p)), 2.5, lineStyle(int(p)));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        const std::vector<PlayerReview::Point> &points = chances ? player.chances : player.path;
        QPainterPath path;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF at(x(points[i].turns), y(points[i].expectation));
            if (i == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.drawPath(path);
        const QRectF &name = legend[p];
        painter.drawLine(QPointF(name.left() - 34, name.center().y()), QPointF(name.left() - 6, name.center().y()));
        painter.setPen(Qt::black);
        painter.drawText(name, Qt::AlignVCenter, player.name);
    }
}
