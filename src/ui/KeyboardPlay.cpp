// Playing by keyboard: the Tab order, and where the focus goes when an action
// hides or disables the control that had it, or starts a new step of the turn.
#include "scoring/ScoringRules.h"
#include "ui/AccessKeyFilter.h"
#include "ui/Accessibility.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"
#include "ui/RowHeading.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <functional>

namespace {

bool usable(const QWidget *widget)
{
    return widget && widget->isVisible() && widget->isEnabled();
}

// Reports when a widget is shown or hidden, whether or not the window is on screen.
class VisibilityWatch : public QObject {
public:
    VisibilityWatch(QWidget *watched, std::function<void(bool)> changed)
        : QObject(watched), changed_(std::move(changed))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            changed_(true);
        else if (event->type() == QEvent::HideToParent)
            changed_(false);
        return false;
    }

private:
    std::function<void(bool)> changed_;
};

// Hides the focus marks when the mouse is used in `window`, as Qt's buttons
// hide theirs; the next Tab or arrow key shows them again.
class MouseUseWatch : public QObject {
public:
    explicit MouseUseWatch(QWidget *window) : QObject(window), window_(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == window_ &&
            window_->testAttribute(Qt::WA_KeyboardFocusChange)) {
            window_->setAttribute(Qt::WA_KeyboardFocusChange, false);
            if (QWidget *focus = window_->focusWidget())
                focus->update();
        }
        return false;
    }

private:
    QWidget *window_;
};

} // namespace

void Form1::setUpKeyboard()
{
    std::vector<QWidget *> order;
    order.insert(order.end(), playerCountOptions.begin(), playerCountOptions.end());
    order.insert(order.end(), ComboNimi.begin(), ComboNimi.end());
    order.insert(order.end(), {CmdAloitaPeli, CmdLopetaPeli});
    order.insert(order.end(), dice.begin(), dice.end());
    order.insert(order.end(), {CmdValitutUudelleen, CmdSäästäKaikki, CmdKaikkiUudelleen, Txt99ListaNimi, Cmd99ListaOK});
    order.insert(order.end(), categoryHeadings.begin() + 1, categoryHeadings.end());
    order.push_back(Scroll99Lista);  // the best-99 view: its scroll bar pages through the places
    // A control that takes no focus is left out of the order: the rows take
    // theirs here, once their captions are set (see RowHeading).
    for (int code = 1; code <= category::count; ++code)
        categoryHeadings[std::size_t(code)]->setFocusPolicy(Qt::StrongFocus);
    Scroll99Lista->setFocusPolicy(Qt::StrongFocus);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // The start screen covers the sheet: its rows take no focus meanwhile.
    auto rowsReachable = [this](bool startScreenShown) {
        if (!centralWidget())
            return;  // the controls are being deleted with the window
        for (int code = 1; code <= category::count; ++code)
            categoryHeadings[std::size_t(code)]->setFocusPolicy(startScreenShown ? Qt::NoFocus : Qt::StrongFocus);
    };
    rowsReachable(!LblAloitusruutu->isHidden());
    new VisibilityWatch(LblAloitusruutu, rowsReachable);

    for (int code = 1; code <= category::count; ++code) {
        auto *heading = static_cast<RowHeading *>(categoryHeadings[std::size_t(code)]);
        heading->describeCell = [this, code] {
            const QString cell = categoryCells[std::size_t(code)][std::size_t(currentPlayer)]->caption().trimmed();
            return cell.isEmpty() ? QStringLiteral("vapaa") : QStringLiteral("pelaaja %1: %2").arg(currentPlayer + 1).arg(cell);
        };
    }

    // An access key with nothing to click must not type its letter into a name.
    for (QComboBox *box : ComboNimi)
        dropAccessKeyLetters(box);  // the box hands its keys to its line edit itself

    giveButtonsTheirAccessKeys(this);
    new MouseUseWatch(this);
    playerCountOptions[0]->setFocus();
}

QWidget *Form1::firstFreeRow() const
{
    for (int code = 1; code <= category::count; ++code) {
        if (categoryUsed[std::size_t(currentPlayer)][std::size_t(code)] == 0)
            return categoryHeadings[std::size_t(code)];
    }
    return nullptr;
}

void Form1::settleFocus(QWidget *used, bool turnChanged)
{
    if (programEnded_)
        return;
    QWidget *focus = focusWidget();
    const bool usedRow = std::find(categoryHeadings.begin(), categoryHeadings.end(), used) != categoryHeadings.end();
    const bool usedThrowButton = used == CmdKaikkiUudelleen || used == CmdValitutUudelleen || used == CmdSäästäKaikki;
    QWidget *target = nullptr;
    if (CmdAloitaPeli->isVisible()) {
        const bool onStartScreen =
            usable(focus) && (FrameAloitusruutu->isAncestorOf(focus) || focus == CmdAloitaPeli || focus == CmdLopetaPeli);
        if (!onStartScreen)
            target = *std::find_if(playerCountOptions.begin(), playerCountOptions.end(),
                                   [](QRadioButton *option) { return option->isChecked(); });
    } else if (Frame99ListaPohja->isVisible()) {
        if (!usable(focus) || !Frame99ListaPohja->isAncestorOf(focus))
            target = Txt99ListaNimi;
    } else if (computerToPlay()) {
        // The computer's presses leave the focus where the player put it.
        if (!usable(focus))
            target = Scroll99Lista;
    } else if (!used && !turnChanged) {
        // A menu item that leaves the turn as it was leaves the focus too.
        if (!usable(focus))
            target = mayRecord ? firstFreeRow() : CmdKaikkiUudelleen;
    } else if (usedRow && !mayRecord && throwCount == 0) {
        target = CmdKaikkiUudelleen;  // recorded: the next turn starts with a throw
    } else if (mayRecord && (usedThrowButton || !used)) {
        target = firstFreeRow();  // the dice are locked, or the choice was taken back: choose a row
    } else if (used ? !usable(used) : !usable(focus)) {
        target = usable(dice[0]) ? static_cast<QWidget *>(dice[0]) : CmdKaikkiUudelleen;
    }
    if (usable(target) && target != focus)
        target->setFocus(Qt::OtherFocusReason);
}
