#pragma once

class QDialog;
class QLayout;
class QWidget;

// A window of figures: its lines on the left, scrolling when they outgrow
// the screen (Tab brings each into view, the scroll area takes no focus),
// the chart and what goes with it on the right, and "&Sulje" below, the
// default button, closing the window. The lines take `linesShare` of the
// width against the chart's `chartShare`.
void layOutLinesBesideChart(QDialog &window, QWidget *lines, int linesWidth, QLayout *chart, int linesShare,
                            int chartShare);
