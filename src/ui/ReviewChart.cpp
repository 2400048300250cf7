#include "ui/ReviewChart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int turns = 15;

} // namespace

ReviewChart::ReviewChart(const GameReview &review, QWidget *parent) : QWidget(parent), review_(review)
{
    setMinimumSize(380, 300);
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
    setAccessibleName(QStringLiteral("Pelin kulku"));
    setAccessibleDescription(
        QStringLiteral("Kaavio pelaajien odotuksesta jokaisen heiton ja valinnan jälkeen: vuorot 1–15 vaakasuunnassa, "
                       "pisteet pystysuunnassa, ja täydellisen pelin odotus %1 pisteen viivana. Luvut ovat "
                       "yllä olevilla riveillä.")
            .arg(startText()));
}

std::vector<QRectF> ReviewChart::legendPlaces() const
{
    // A sample of each player's line and the name, on as many rows as the
    // names need.
    const QFontMetrics metrics(font());
    const qreal left = metrics.horizontalAdvance(QStringLiteral("0000")) + 12;
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
    const int left = metrics.horizontalAdvance(QStringLiteral("0000")) + 12;
    const std::vector<QRectF> legend = legendPlaces();
    const qreal legendBottom = legend.empty() ? metrics.height() + 8 : legend.back().bottom();
    const QRect plot = rect().adjusted(left, int(legendBottom) + 6, -16, -(metrics.height() + 10));
    const auto x = [&plot](double t) { return plot.left() + t / turns * plot.width(); };
    const auto y = [&](double points) { return plot.bottom() - (points - low_) / (high_ - low_) * plot.height(); };

    // The frame, the turns and the points.
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(plot);
    for (int t = 1; t <= turns; ++t) {
        const QPointF at(x(t), plot.bottom());
        painter.setPen(QPen(QColor(220, 220, 220), 1));
        painter.drawLine(QPointF(at.x(), plot.top()), at);
        painter.setPen(Qt::black);
        const QString label = QString::number(t);
        painter.drawText(QRectF(at.x() - 20, plot.bottom() + 4, 40, metrics.height()), Qt::AlignHCenter, label);
    }
    const double step = (high_ - low_) > 150 ? 50 : (high_ - low_) > 60 ? 20 : 10;
    for (double points = std::ceil(low_ / step) * step; points <= high_; points += step) {
        painter.setPen(QPen(QColor(220, 220, 220), 1));
        painter.drawLine(QPointF(plot.left(), y(points)), QPointF(plot.right(), y(points)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y(points) - metrics.height() / 2.0, plot.left() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(points, 'f', 0));
    }
    // Perfect play's expectation.
    painter.setPen(QPen(QColor(90, 90, 90), 1.5, Qt::DashDotDotLine));
    painter.drawLine(QPointF(plot.left(), y(review_.start)), QPointF(plot.right(), y(review_.start)));
    const QString start = startText();
    painter.drawText(QRectF(plot.right() - 204, y(review_.start) - metrics.height() - 2, 200, metrics.height()),
                     Qt::AlignRight, start);

    // Every player's line, and the legend above the chart.
    for (std::size_t p = 0; p < review_.players.size(); ++p) {
        const PlayerReview &player = review_.players[p];
        QPen pen(lineColor(int(p)), 2.5, lineStyle(int(p)));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        QPainterPath path;
        for (std::size_t i = 0; i < player.path.size(); ++i) {
            const QPointF at(x(player.path[i].turns), y(player.path[i].expectation));
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
