#pragma once

class EventLabel;
class QKeyEvent;
class QPainter;
class QWidget;

// Keyboard use of the labels that act as buttons: the dice and the rows of
// the score sheet.
namespace keyboard {

// What a click on `label` does, if it is enabled (for keys and screen readers).
void click(EventLabel &label);

// Space or Enter clicks `label`; Up and Down move the focus to the nearest
// control of the same kind above or below (die to die, row to row). True when
// the key was used.
bool handleKey(EventLabel &label, QKeyEvent *event);

// Whether `widget` has focus that came from the keyboard, and so shows the
// focus mark; a player using the mouse never sees it.
bool showsFocusMark(const QWidget &widget);
// Draws the style's focus mark `inset` pixels inside `widget` when it shows one.
void paintFocusMark(QWidget &widget, QPainter &painter, int inset = 2);

} // namespace keyboard
