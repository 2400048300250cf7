// The best-99 list: loading and checking its file, the view, the rank marker
// and new entries.
#include "game/Platform.h"
#include "ui/EventLabel.h"
#include "ui/Form1.h"

#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QScrollBar>

namespace {

const QColor markedPlace(128, 255, 128);

} // namespace

bool Form1::LoadBestList()
{
    const BestListKeeper::Loading loading = bestList.load(QStringLiteral("lista99.txt"));
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("lista99.txt"));
    if (loading.unreadable) {
        platform_.showMessage(QStringLiteral("Tiedostoa LISTA99.TXT ei voi lukea:\r%1\r%2").arg(path, loading.failure),
                              Platform::Icon::Critical);
        return false;
    }
    if (!loading.ok()) {
        // A list that cannot be read whole is left as it is, never rewritten.
        // Beside the program a deleted list cannot come back, so only in the
        // player's folder is deleting it a way to start afresh.
        const QString advice = files_.installed()
            ? QStringLiteral("Korjaa tai poista tiedosto ja käynnistä Kopperi uudelleen: "
                             "poistetun tilalle tulee pelin mukana asennettu lista.")
            : QStringLiteral("Korjaa tiedosto ja käynnistä Kopperi uudelleen.");
        platform_.showMessage(QStringLiteral("%1\r%2\r%3").arg(loading.failure, path, advice), Platform::Icon::Critical);
        return false;
    }

    for (int r = 0; r < 13; ++r) {
        const std::size_t i = std::size_t(r);
        Lbl99Sijoitus[i]->setCaption(QStringLiteral(" %1.").arg(r + 1));
        Lbl99Nimi[i]->setCaption(bestNames[i]);
        Lbl99Pvm[i]->setCaption(bestDates[i]);
        Lbl99Tulos[i]->setCaption(QString::number(bestScores[i]));
    }
    OnkoHuijattu();
    return true;
}

void Form1::OnkoHuijattu()
{
    if (computeCheckNumbers(best) == bestList.storedCheckNumbers())
        return;
    platform_.showMessage(QStringLiteral("LISTA99.TXT-tiedostoa on näpelöity !\r"
                                         "Eihän vaan olla paranneltu tuloksia ?\r"
                                         "Omapa on asiasi !"),
                          Platform::Icon::Critical);
    platform_.showMessage(QStringLiteral("Ohjelma korjaa LISTA99.TXT-tiedoston tarkistusnumerot.\r"
                                         "Yritä olla fuskaamatta jatkossa !"),
                          Platform::Icon::Information);
    // The repair writes the list as it is in the file by then, which another
    // window may have changed while the messages were open.
    const BestList shown = best;
    if (const QString failure = bestList.rewriteFile(); !failure.isEmpty())
        platform_.showMessage(failure, Platform::Icon::Critical);
    if (best.names != shown.names || best.dates != shown.dates || best.scores != shown.scores)
        Scroll99Lista_Change();
}

void Form1::clearPlaceMarks()
{
    for (EventLabel *place : Lbl99Sijoitus)
        place->setBackColor(palette().color(QPalette::Midlight));
}

void Form1::Scroll99Lista_Change()
{
    clearPlaceMarks();
    listTop = std::int16_t(Scroll99Lista->value());
    for (int r = 0; r < 13; ++r) {
        const std::size_t row = std::size_t(r);
        const std::size_t j = std::size_t(listTop + r - 1);
        Lbl99Sijoitus[row]->setCaption(QStringLiteral(" %1.").arg(listTop + r));
        Lbl99Nimi[row]->setCaption(bestNames[j]);
        Lbl99Pvm[row]->setCaption(bestDates[j]);
        Lbl99Tulos[row]->setCaption(QString::number(bestScores[j]));
    }
    describeListView();
}

void Form1::describeListView()
{
    // What a screen reader says of the view when its scroll bar has the focus.
    QStringList rows;
    for (std::size_t r = 0; r < Lbl99Sijoitus.size(); ++r)
        rows << QStringLiteral("%1 %2, %3, %4")
                    .arg(Lbl99Sijoitus[r]->caption().trimmed(), Lbl99Nimi[r]->caption(), Lbl99Pvm[r]->caption(),
                         Lbl99Tulos[r]->caption());
    Scroll99Lista->setAccessibleDescription(rows.join(QStringLiteral("; ")));
}

void Form1::Lista99Seuranta()
{
    clearPlaceMarks();
    if (lastPlayer < 0 || lastPlayer >= maxPlayers)
        return;
    const int total = grandTotal[std::size_t(lastPlayer)];
    auto score = [this](int i) { return int(bestScores[std::size_t(i)]); };
    // Scrolling refreshes the rows and clears the marks, so mark afterwards.
    auto showAndMark = [this](int top, int row) {
        Scroll99Lista->setValue(top);
        Lbl99Sijoitus[std::size_t(row)]->setBackColor(markedPlace);
    };

    if (total < score(98))
        return;
    if (total > score(0)) {
        showAndMark(1, 0);
        return;
    }
    // Places 2..11 show on the first page in their own rows.
    for (int i = 10; i >= 1; --i) {
        if (total > score(i) && total <= score(i - 1)) {
            showAndMark(1, i);
            return;
        }
    }
    if (total > score(98) && total <= score(97)) {
        showAndMark(87, 12);
        return;
    }
    // Places 12..98 show on the twelfth row.
    for (int i = 97; i >= 11; --i) {
        if (total > score(i) && total <= score(i - 1)) {
            showAndMark(i - 10, 11);
            return;
        }
    }
}

void Form1::Cmd99ListaOK_Click()
{
    const QString name = storableName(Txt99ListaNimi->text().trimmed());
    // A second click that arrives before the wait has ended stores nothing twice.
    if (listEntryDone || name.isEmpty() || listPlace < 1 || listPlace > bestListPlaces || lastPlayer < 0 || lastPlayer >= maxPlayers)
        return;
    listEntryDone = true;
    // The result goes where its score earns a place; should another window
    // have stored results meanwhile, in their list instead.
    const ListEntry entry{name, platform_.today().toString(QStringLiteral("dd.MM.yy")),
                          grandTotal[std::size_t(lastPlayer)]};
    if (const QString failure = bestList.addResult(entry); !failure.isEmpty())
        platform_.showMessage(failure, Platform::Icon::Critical);
    GameRecord::Entry stored{GameRecord::Kind::ListEntry, lastPlayer};
    stored.name = name;
    record.add(stored);
    Scroll99Lista_Change();
    Lista99Seuranta();
    clearPlaceMarks();
    if (entryWait_)
        entryWait_->quit();
}
