#include "ui/ReviewWindow.h"

#include "ui/ReviewChart.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

ReviewWindow::ReviewWindow(const GameReview &review, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Pelin arvio"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    // The lines beside the chart: four players' choices need more room than a
    // screen's height, and scroll; Tab brings each line into view.
    auto *lines = new QWidget;
    auto *column = new QVBoxLayout(lines);
    for (const PlayerReview &player : review.players) {
        column->addWidget(addLine(summaryLine(player, review.finished), true));
        for (const QString &line : choiceLines(player))
            column->addWidget(addLine(line, false));
        column->addSpacing(8);
    }
    column->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidget(lines);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumWidth(500);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *chart = new ReviewChart(review);
    chart->setFocusPolicy(Qt::StrongFocus);  // a screen reader reaches it by Tab like the lines
    auto *sideBySide = new QHBoxLayout;
    sideBySide->addWidget(scroll, 5);
    sideBySide->addWidget(chart, 4);

    auto *buttons = new QDialogButtonBox;
    QPushButton *close = buttons->addButton(QStringLiteral("&Sulje"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sideBySide, 1);
    layout->addWidget(buttons);

    if (!lines_.empty())
        lines_.front()->setFocus();
    resize(1000, 480);
}

QLabel *ReviewWindow::addLine(const QString &text, bool summary)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);  // a name is shown as typed, never as markup
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    label->setFocusPolicy(Qt::StrongFocus);
    if (summary) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    } else {
        label->setContentsMargins(16, 0, 0, 0);
    }
    lines_.push_back(label);
    return label;
}

QStringList ReviewWindow::lines() const
{
    QStringList texts;
    for (const QLabel *label : lines_)
        texts << label->text();
    return texts;
}
