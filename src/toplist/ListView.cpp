// The best-99 list: loading and checking its file, the view, the rank marker
// and new entries.
#include "toplist/BestListFile.h"
#include "toplist/SafeListWrite.h"
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
    // A save cut short by a crash may leave its temporary file behind; the
    // list itself is whole either way, so the leftover only takes room.
    removeAbandonedSave(QStringLiteral("lista99.txt"));

    QString error;
    const std::optional<QByteArray> bytes = readListFile(QStringLiteral("lista99.txt"), &error);
    if (!bytes) {
        platform_.showMessage(QStringLiteral("Tiedostoa LISTA99.TXT ei voi lukea:\r%1\r%2")
                                  .arg(QDir::current().absoluteFilePath(QStringLiteral("lista99.txt")), error),
                              Platform::Icon::Critical);
        return false;
    }
    const std::optional<BestListFile> read = parseBestList(*bytes, &error);
    if (!read) {
        // A list that cannot be read whole is left as it is, never rewritten.
        // Beside the program a deleted list cannot come back, so only in the
        // player's folder is deleting it a way to start afresh.
        const QString advice = files_.installed()
            ? QStringLiteral("Korjaa tai poista tiedosto ja käynnistä Kopperi uudelleen: "
                             "poistetun tilalle tulee pelin mukana asennettu lista.")
            : QStringLiteral("Korjaa tiedosto ja käynnistä Kopperi uudelleen.");
        const QString path = QDir::current().absoluteFilePath(QStringLiteral("lista99.txt"));
        platform_.showMessage(QStringLiteral("%1\r%2\r%3").arg(error, path, advice), Platform::Icon::Critical);
        return false;
    }
    best = read->list;
    stored = read->stored;

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
    const CheckNumbers computed = computeCheckNumbers(best);
    if (computed == stored)
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
    if (SaveBestList())
        stored = computeCheckNumbers(best);
    if (best.names != shown.names || best.dates != shown.dates || best.scores != shown.scores)
        Scroll99Lista_Change();
}

ListChangeOutcome Form1::writeBestList()
{
    // Another window may have changed the file since this one read it: the
    // results not yet stored go into the list as it is now, and that list is
    // the one shown from here on.
    ListChangeOutcome outcome = changeBestListFile(QStringLiteral("lista99.txt"), [this](BestList &list) {
        for (const ListEntry &entry : unsavedResults_)
            enterResult(list, entry);
    });
    if (outcome.readWhole)
        best = outcome.list;
    if (outcome.saved)
        unsavedResults_.clear();
    return outcome;
}

bool Form1::SaveBestList()
{
    const ListChangeOutcome outcome = writeBestList();
    if (outcome.saved)
        return true;
    QString text = QStringLiteral("99-listaa ei voitu tallentaa:\r%1\r%2\rAiempi LISTA99.TXT säilyy ennallaan.")
                       .arg(outcome.where, outcome.failure);
    if (!unsavedResults_.empty())
        text += QStringLiteral("\rUusi tulos on tallessa ohjelman muistissa. Tallennusta yritetään uudelleen "
                               "seuraavan tuloksen kanssa ja ohjelmaa lopetettaessa.");
    platform_.showMessage(text, Platform::Icon::Critical);
    return false;
}

void Form1::saveResultsBeforeEnd()
{
    // One more try unasked; after that the player may free space or fix the
    // folder and try again as often as they like.
    while (!unsavedResults_.empty() && !writeBestList().saved) {
        if (!platform_.askYesNo(QStringLiteral("Tuloksia ei ole tallennettu 99-listaan. Yritetäänkö uudelleen?")))
            return;
    }
}

void Form1::Scroll99Lista_Change()
{
    for (EventLabel *place : Lbl99Sijoitus)
        place->setBackColor(palette().color(QPalette::Midlight));
    listTop = std::int16_t(Scroll99Lista->value());
    for (int r = 0; r < 13; ++r) {
        const std::size_t row = std::size_t(r);
        const std::size_t j = std::size_t(listTop + r - 1);
        Lbl99Sijoitus[row]->setCaption(QStringLiteral(" %1.").arg(listTop + r));
        Lbl99Nimi[row]->setCaption(bestNames[j]);
        Lbl99Pvm[row]->setCaption(bestDates[j]);
        Lbl99Tulos[row]->setCaption(QString::number(bestScores[j]));
    }
}

void Form1::Lista99Seuranta()
{
    for (EventLabel *place : Lbl99Sijoitus)
        place->setBackColor(palette().color(QPalette::Midlight));
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
    // have stored results meanwhile, the save puts it in their list instead.
    const ListEntry entry{name, platform_.today().toString(QStringLiteral("dd.MM.yy")),
                          grandTotal[std::size_t(lastPlayer)]};
    enterResult(best, entry);
    unsavedResults_.push_back(entry);
    SaveBestList();
    Scroll99Lista_Change();
    Lista99Seuranta();
    for (EventLabel *place : Lbl99Sijoitus)
        place->setBackColor(palette().color(QPalette::Midlight));
    if (entryWait_)
        entryWait_->quit();
}
