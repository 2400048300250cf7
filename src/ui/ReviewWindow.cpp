#include "ui/ReviewWindow.h"

#include "ui/LinesBesideChart.h"
#include "ui/ReviewChart.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

ReviewWindow::ReviewWindow(GameReview review, QWidget *parent, const strategy::Table *table)
    : QDialog(parent), review_(std::move(review))
{
    setWindowTitle(QStringLiteral("Pelin arvio"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    // The present moment's chances come at once (a fraction of a second);
    // the rest from a worker, which the same cache keeps quick.
    const bool chances = table && table->hasSpread() && review_.severalPlayers();
    auto cache = chances ? std::make_shared<strategy::TotalsCache>() : nullptr;
    if (chances) {
        if (const std::optional<ChancePiece> now = chancesNow(review_, *table, *cache))
            applyChance(review_, *now);
    }

    // The lines beside the chart: four players' choices need more room than a
    // screen's height, and scroll; Tab brings each line into view.
    auto *lines = new QWidget;
    auto *column = new QVBoxLayout(lines);
    for (const PlayerReview &player : review_.players) {
        column->addWidget(addLine(true));
        for (std::size_t k = 0; k < std::max<std::size_t>(1, player.costliest.size()); ++k)
            column->addWidget(addLine(false));
        column->addSpacing(8);
    }
    column->addStretch();
    showLines();
    chart_ = new ReviewChart(review_);
    chart_->setFocusPolicy(Qt::StrongFocus);  // a screen reader reaches it by Tab like the lines
    auto *chartColumn = new QVBoxLayout;
    if (review_.severalPlayers()) {
        // What the chart shows, by keyboard or mouse.
        auto *views = new QHBoxLayout;
        auto *expectation = new QRadioButton(QStringLiteral("&Odotus"));
        auto *chance = new QRadioButton(QStringLiteral("&Voittomahdollisuus"));
        expectation->setChecked(true);
        auto *group = new QButtonGroup(this);
        group->addButton(expectation);
        group->addButton(chance);
        connect(chance, &QRadioButton::toggled, this, [this](bool on) {
            chart_->setView(on ? ReviewChart::View::Chance : ReviewChart::View::Expectation);
        });
        views->addWidget(new QLabel(QStringLiteral("Kaavio:")));
        views->addWidget(expectation);
        views->addWidget(chance);
        views->addStretch();
        chartColumn->addLayout(views);
    }
    chartColumn->addWidget(chart_, 1);
    layOutLinesBesideChart(*this, lines, 500, chartColumn, 5, 4);

    if (!lines_.empty())
        lines_.front()->setFocus();
    resize(1000, 480);
    if (chances)
        reckonChances(*table, std::move(cache));
}

ReviewWindow::~ReviewWindow()
{
    *closed_ = true;  // the worker stops at its next piece
}

void ReviewWindow::reckonChances(const strategy::Table &table, std::shared_ptr<strategy::TotalsCache> cache)
{
    chancesComplete_ = false;
    // Each piece reaches the window through its event loop, unless it has
    // been closed meanwhile.
    QPointer<ReviewWindow> window(this);
    (void)QtConcurrent::run([review = review_, &table, cache, closed = closed_, window] {
        ::reckonChances(review, table, *cache, [&](const ChancePiece &piece) {
            if (*closed)
                return false;
            QMetaObject::invokeMethod(qApp, [window, piece] {
                if (window)
                    window->addChance(piece);
            }, Qt::QueuedConnection);
            return true;
        });
        QMetaObject::invokeMethod(qApp, [window] {
            if (window)
                window->chancesComplete_ = true;
        }, Qt::QueuedConnection);
    });
}

void ReviewWindow::addChance(const ChancePiece &piece)
{
    applyChance(review_, piece);
    if (piece.kind == ChancePiece::Kind::Step)
        chart_->setReview(review_);
    else
        showLines();
}

QLabel *ReviewWindow::addLine(bool summary)
{
    auto *label = new QLabel;
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

void ReviewWindow::showLines()
{
    std::size_t at = 0;
    for (const PlayerReview &player : review_.players) {
        lines_[at++]->setText(summaryLine(player, review_.finished));
        for (const QString &line : choiceLines(player))
            lines_[at++]->setText(line);
    }
}

QStringList ReviewWindow::lines() const
{
    QStringList texts;
    for (const QLabel *label : lines_)
        texts << label->text();
    return texts;
}
