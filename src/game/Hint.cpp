// The hint, and the table of perfect play that it and the computer use.
#include "game/PerfectPlay.h"
#include "game/Platform.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QDir>
#include <cmath>

const strategy::Table *Form1::strategyTable()
{
    // Read when first needed, not at start-up: a game without the computer
    // or a hint never waits for it.
    if (!strategyTried_) {
        strategyTried_ = true;
        QString problem;
        std::optional<strategy::Table> table = strategy::Table::readFile(files_.strategyTable(), &problem);
        if (table) {
            strategyTable_ = std::make_unique<strategy::Table>(std::move(*table));
        } else {
            platform_.showMessage(QStringLiteral("Kone ei voi pelata, eikä vihjettä voi näyttää:\r%1\r%2")
                                      .arg(QDir::toNativeSeparators(files_.strategyTable()), problem),
                                  Platform::Icon::Critical);
        }
    }
    return strategyTable_.get();
}

void Form1::MenuVihje_Click()
{
    // Before the first throw there is nothing to weigh.
    if (!mayRecord && throwCount == 0) {
        showHint(hintText({}, false, diceValues, {}));
        return;
    }
    const strategy::Table *table = strategyTable();
    if (!table) {
        MenuVihje->setEnabled(false);
        return;
    }
    // Dice locked for scoring leave only the row to choose.
    const strategy::Action action =
        strategy::advise(*table, sheetOf(*this, currentPlayer), mayRecord ? maxThrows : throwCount, diceValues);
    if (!std::isfinite(action.value))
        return;  // a sheet no game can reach: no hint rather than a wrong one
    showHint(hintText(action, mayRecord, diceValues, [this](int code) {
        return code == category::yatzy ? QStringLiteral("Yatzy") : categoryHeadings[std::size_t(code)]->caption().trimmed();
    }));
}

void Form1::showHint(const QString &text)
{
    if (!hintShown_)
        headingBeforeHint_ = LblOtsikko->caption();
    hintShown_ = true;
    LblOtsikko->setCaption(text);
}

void Form1::takeBackHint()
{
    if (!hintShown_)
        return;
    hintShown_ = false;
    LblOtsikko->setCaption(headingBeforeHint_);
}
