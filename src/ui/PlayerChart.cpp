#include "ui/PlayerChart.h"

#include "history/HistoryLines.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int averageOf = 10;
const QColor totalColor(0, 114, 178);
const QColor averageColor(213, 94, 0);
const QColor costColor(150, 150, 150);

} // namespace

PlayerChart::PlayerChart(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(380, 300);
    setAccessibleName(QStringLiteral("Pelaajan pelit"));
}

void PlayerChart::showGames(const QString &name, std::vector<FinishedResult> games)
{
    name_ = name;
    games_ = std::move(games);
    averages_.clear();
    double sum = 0;
    for (std::size_t i = 0; i < games_.size(); ++i) {
        sum += games_[i].total;
        if (i >= std::size_t(averageOf))
            sum -= games_[i - averageOf].total;
        averages_.push_back(sum / double(std::min<std::size_t>(i + 1, averageOf)));
    }

    if (games_.empty()) {
        setAccessibleDescription(QStringLiteral("%1: ei päättyneitä pelejä.").arg(name_));
    } else {
        const auto [low, high] = std::minmax_element(games_.begin(), games_.end(),
                                                     [](const auto &a, const auto &b) { return a.total < b.total; });
        double costs = 0;
        int costed = 0;
        for (const FinishedResult &game : games_) {
            if (game.costs) {
                costs += *game.costs;
                ++costed;
            }
        }
        // What the chart shows, in words: the range, where the average went,
        // and the cost of the choices.
        QString text = QStringLiteral("%1: %2 päättynyttä peliä järjestyksessä, pisteet %3–%4. Kymmenen pelin keskiarvo "
                                      "ensin %5, lopuksi %6.")
                           .arg(name_, QString::number(games_.size()), QString::number(low->total),
                                QString::number(high->total), figure(averages_[std::min<std::size_t>(games_.size(), averageOf) - 1]),
                                figure(averages_.back()));
        if (costed > 0)
            text += QStringLiteral(" Valinnat maksoivat keskimäärin %1 pistettä peliä kohden.").arg(figure(costs / costed));
        setAccessibleDescription(text);
    }
    update();
}

void PlayerChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics(font());
    if (games_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Ei päättyneitä pelejä."));
        return;
    }

    // The legend above, on as many rows as it needs.
    const QString legend[] = {QStringLiteral("Pisteet"), QStringLiteral("Kymmenen pelin keskiarvo"),
                              QStringLiteral("Valintojen hinta")};
    const int left = metrics.horizontalAdvance(QStringLiteral("0000")) + 12;
    const int rowHeight = metrics.height() + 8;
    qreal x = left, y = 2;
    std::vector<QPointF> legendAt;
    for (const QString &text : legend) {
        const qreal wide = 34 + metrics.horizontalAdvance(text) + 4;
        if (x > left && x + wide > width() - 16) {
            x = left;
            y += rowHeight;
        }
        legendAt.push_back({x, y});
        x += wide + 20;
    }
    const QRect plot = rect().adjusted(left, int(y) + rowHeight + 6, -16, -(metrics.height() + 10));

    // The scale holds every total and every game's cost of choices: a player
    // still learning may give away more than they score.
    double high = 50;
    for (const FinishedResult &game : games_)
        high = std::max({high, double(game.total), game.costs.value_or(0.0)});
    const double top = std::ceil(high / 50.0) * 50.0;
    const std::size_t count = games_.size();
    const auto gx = [&](std::size_t i) { return plot.left() + (count == 1 ? 0.5 : double(i) / double(count - 1)) * plot.width(); };
    const auto gy = [&](double points) { return plot.bottom() - points / top * plot.height(); };

    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(plot);
    for (double points = 0; points <= top; points += 50) {
        painter.setPen(QPen(QColor(220, 220, 220), 1));
        painter.drawLine(QPointF(plot.left(), gy(points)), QPointF(plot.right(), gy(points)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, gy(points) - metrics.height() / 2.0, plot.left() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(points, 'f', 0));
    }
    // The games along the bottom: the first, the last, and a few between.
    const std::size_t step = std::max<std::size_t>(1, (count + 9) / 10);
    for (std::size_t i = 0; i < count; i += step)
        painter.drawText(QRectF(gx(i) - 20, plot.bottom() + 4, 40, metrics.height()), Qt::AlignHCenter,
                         QString::number(i + 1));

    const qreal barWidth = std::clamp(plot.width() / double(count) * 0.6, 1.0, 12.0);
    for (std::size_t i = 0; i < count; ++i) {
        if (games_[i].costs)
            painter.fillRect(QRectF(gx(i) - barWidth / 2, gy(*games_[i].costs), barWidth, gy(0) - gy(*games_[i].costs)),
                             costColor);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(totalColor);
    const qreal dot = count > 200 ? 1.5 : 3.0;
    for (std::size_t i = 0; i < count; ++i)
        painter.drawEllipse(QPointF(gx(i), gy(games_[i].total)), dot, dot);
    QPainterPath average;
    for (std::size_t i = 0; i < count; ++i) {
        const QPointF at(gx(i), gy(averages_[i]));
        if (i == 0)
            average.moveTo(at);
        else
            average.lineTo(at);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(averageColor, 2.5, Qt::DashLine));
    painter.drawPath(average);

    for (std::size_t k = 0; k < legendAt.size(); ++k) {
        const QPointF at = legendAt[k];
        const qreal middle = at.y() + rowHeight / 2.0;
        if (k == 0) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(totalColor);
            painter.drawEllipse(QPointF(at.x() + 14, middle), 3.0, 3.0);
        } else if (k == 1) {
            painter.setPen(QPen(averageColor, 2.5, Qt::DashLine));
            painter.drawLine(QPointF(at.x(), middle), QPointF(at.x() + 28, middle));
        } else {
            painter.fillRect(QRectF(at.x() + 8, middle - 6, 12, 12), costColor);
        }
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawText(QRectF(at.x() + 34, at.y(), metrics.horizontalAdvance(legend[k]) + 4, rowHeight),
                         Qt::AlignVCenter, legend[k]);
    }
}
