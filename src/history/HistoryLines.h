#pragma once

#include "history/StoredGames.h"

#include <QString>

// The lines of the statistics and of the list of earlier games, in Finnish.
// Figures have one decimal and a decimal comma; a negative one takes the
// minus sign U+2212, and one that rounds to nothing reads "0,0".

// "Anna: 12 peliä (2 kesken), keskiarvo 231,4, paras 301, huonoin 154."
// The unfinished part only when some are; "1 peli" for one. A name with no
// finished game has no figures to give: "Anna: 0 peliä (2 kesken)."
QString gamesLine(const NameStatistics &statistics);

// "Bonus 58 %, Yatzy 42 %, voitot 5/9. Valinnat maksoivat keskimäärin 14,2
// pistettä, noppaonni keskimäärin −1,3 pistettä." The wins only for a name
// with finished games of several players; the costs and luck only when the
// review reached some finished game. Empty for a name with no finished game.
QString sharesLine(const NameStatistics &statistics);

// "8.12.2026 klo 14.05: Anna 231, Kone 2 214. Voittaja Anna." A shared first
// place: "Voittajat Anna ja Pekka." A game of one has no winner sentence. An
// unfinished game, given up or not: "Kesken, vuoro 7."
QString gameLine(const GameSummary &game);

// "231,4"; "−1,3"; "0,0" for -0.04.
QString figure(double value);
