#pragma once

#include "ui/EventLabel.h"

#include <functional>

// The heading of a category row: the player chooses the row with it. With
// keyboard focus, one stop per row, Space or Enter clicks it, Up and Down move
// to the row above or below.
class RowHeading : public EventLabel {
    Q_OBJECT

public:
    explicit RowHeading(QWidget *parent = nullptr);

    // What the row holds for the player to play, as a screen reader says it.
    std::function<QString()> describeCell;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
