#pragma once

class QWidget;

// What a screen reader sees of the dice and the category rows: each die is a
// check box, checked while marked to be thrown again, and each row a button
// described by the cell of the player to play; both offer the press action,
// which does what a click does. Installed once, before the first control is made.
void installAccessibleControls();

// Tells a screen reader that a die has been marked or unmarked.
void announceCheckedChange(QWidget *die);
