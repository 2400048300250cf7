#include "history/HistoryLines.h"

#include <QStringList>
#include <cmath>

namespace {

QString percent(int part, int whole)
{
    return QString::number(std::lround(100.0 * part / whole)) + QStringLiteral(" %");
}

// "Anna", "Anna ja Pekka", "Anna, Pekka ja Liisa".
QString joined(const QStringList &names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" ja ") + names.last();
}

} // namespace

QString figure(double value)
{
    // Rounded first, so that a tiny negative figure reads "0,0".
    const double tenths = std::round(value * 10.0);
    if (tenths == 0)
        return QStringLiteral("0,0");
    QString text = QString::number(std::abs(tenths) / 10.0, 'f', 1).replace(u'.', u',');
    return tenths < 0 ? QChar(0x2212) + text : text;
}

QString gamesLine(const NameStatistics &s)
{
    QString line = s.name + QStringLiteral(": ") + QString::number(s.finished)
        + (s.finished == 1 ? QStringLiteral(" peli") : QStringLiteral(" peliä"));
    if (s.unfinished > 0)
        line += QStringLiteral(" (%1 kesken)").arg(s.unfinished);
    if (s.finished > 0) {
        line += QStringLiteral(", keskiarvo %1, paras %2, huonoin %3")
                    .arg(figure(s.average), QString::number(s.best), QString::number(s.worst));
    }
    return line + u'.';
}

QString sharesLine(const NameStatistics &s)
{
    if (s.finished == 0)
        return QString();
    QString line = QStringLiteral("Bonus %1, Yatzy %2").arg(percent(s.bonuses, s.finished), percent(s.yatzies, s.finished));
    if (s.severalPlayers > 0)
        line += QStringLiteral(", voitot %1/%2").arg(s.wins).arg(s.severalPlayers);
    line += u'.';
    if (s.costs && s.luck) {
        line += QStringLiteral(" Valinnat maksoivat keskimäärin %1 pistettä, noppaonni keskimäärin %2 pistettä.")
                    .arg(figure(*s.costs), figure(*s.luck));
    }
    return line;
}

QString gameLine(const GameSummary &game)
{
    QStringList results;
    QStringList winners;
    for (const GameSummary::Player &player : game.players) {
        results << player.name + u' ' + QString::number(player.points);
        if (player.won)
            winners << player.name;
    }
    // One pass of arg(): a "%1" in a name stays as it is.
    QString line = QStringLiteral("%1: %2.").arg(game.started.toString(QStringLiteral("d.M.yyyy 'klo' H.mm")),
                                                 results.join(QStringLiteral(", ")));
    if (!game.finished)
        return line + QStringLiteral(" Kesken, vuoro %1.").arg(game.turn);
    if (game.players.size() < 2 || winners.isEmpty())
        return line;
    return line + (winners.size() == 1 ? QStringLiteral(" Voittaja ") : QStringLiteral(" Voittajat ")) + joined(winners)
        + u'.';
}
