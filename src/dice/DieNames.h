#pragma once

#include <QString>

// Names of the die picture files beside the program.

// A held die showing a face: the value's text with a leading blank, ".bmp"
// appended, the rightmost five characters kept: 4 gives "4.bmp".
QString dieFileName(int value);

// A die marked to be thrown again: "v4.bmp".
QString markedDieFileName(int value);

// The die between turns, without a value.
inline const char *const blankDieFileName = "t1.bmp";

// A die's tooltip tells whether it will be thrown again.
inline const char *const heldDieTip = "Tätä arpakuutiota ei heitetä uudelleen.";
inline const char *const markedDieTip = "Tämä arpakuutio heitetään uudelleen.";

// What a screen reader says of die `die` (0..4) showing the picture `name`:
// "Arpakuutio 1: 4", "Arpakuutio 1: 4, heitetään uudelleen", or
// "Arpakuutio 1: ei heitetty" for a die without a value.
QString dieDescription(int die, const QString &pictureName);
