#include "toplist/BestListKeeper.h"

#include <QDir>

namespace {

// The 99 places, not the spill slot, which the file never holds.
bool samePlaces(const BestList &a, const BestList &b)
{
    for (std::size_t i = 0; i < std::size_t(bestListPlaces); ++i) {
        if (a.names[i] != b.names[i] || a.dates[i] != b.dates[i] || a.scores[i] != b.scores[i])
            return false;
    }
    return true;
}

} // namespace

BestListKeeper::Loading BestListKeeper::load(const QString &path)
{
    path_ = path;
    removeAbandonedSave(path_);
    Loading loading;
    const RegularFileRead file = readListFile(path_);
    if (!file.ok()) {
        loading.failure = file.error;
        loading.unreadable = true;
        return loading;
    }
    const std::optional<BestListFile> read = parseBestList(file.bytes, &loading.failure, file.cut);
    if (!read)
        return loading;
    onDisk_ = read->list;
    stored_ = read->stored;
    showWithUnsaved();
    return loading;
}

void BestListKeeper::showWithUnsaved()
{
    shown_ = onDisk_;
    for (const ListEntry &entry : unsaved_)
        enterResult(shown_, entry);
}

bool BestListKeeper::followFile()
{
    const RegularFileRead file = readListFile(path_);
    const std::optional<BestListFile> read = file.ok() ? parseBestList(file.bytes, nullptr, file.cut) : std::nullopt;
    if (!read || samePlaces(read->list, onDisk_))
        return false;
    onDisk_ = read->list;
    showWithUnsaved();
    return true;
}

ListChangeOutcome BestListKeeper::write()
{
    // Results not stored yet go into the list as it is on disk now; should
    // the file have gone, into the list this window last saw of it.
    ListChangeOutcome outcome = changeBestListFile(
        path_,
        [this](BestList &list) {
            for (const ListEntry &entry : unsaved_)
                enterResult(list, entry);
        },
        &onDisk_);
    if (outcome.readWhole)
        onDisk_ = outcome.saved ? outcome.list : outcome.read;
    if (outcome.saved)
        unsaved_.clear();
    showWithUnsaved();
    return outcome;
}

QString BestListKeeper::addResult(const ListEntry &entry)
{
    unsaved_.push_back(entry);
    showWithUnsaved();
    return rewriteFile();
}

QString BestListKeeper::rewriteFile()
{
    const ListChangeOutcome outcome = write();
    if (outcome.saved)
        return QString();
    const QString state = outcome.missing    ? QStringLiteral("LISTA99.TXT puuttuu, eikä uutta voitu kirjoittaa.")
                          : outcome.fileKept ? QStringLiteral("Aiempi LISTA99.TXT säilyy ennallaan.")
                                             : QStringLiteral("LISTA99.TXT voi olla vaurioitunut.");
    QString text = QStringLiteral("99-listaa ei voitu tallentaa:\r%1\r%2\r%3")
                       .arg(QDir::toNativeSeparators(outcome.where), outcome.failure, state);
    if (!unsaved_.empty())
        text += QStringLiteral("\rUusi tulos on tallessa ohjelman muistissa. Tallennusta yritetään uudelleen "
                               "seuraavan tuloksen kanssa ja ohjelmaa lopetettaessa.");
    return text;
}

void BestListKeeper::storeBeforeEnd(const std::function<bool(const QString &question)> &tryAgain)
{
    // One more try unasked; after that the player may free space or mend the
    // folder and try as often as they like. Only "No" gives the results up.
    while (!unsaved_.empty()) {
        const ListChangeOutcome outcome = write();
        if (outcome.saved)
            return;
        const QString question = QStringLiteral("99-listaan jäi tallentamatta uusia tuloksia:\r%1\r%2\r"
                                                "Yritetäänkö uudelleen? Jos et yritä, tulokset menetetään.")
                                     .arg(QDir::toNativeSeparators(outcome.where), outcome.failure);
        if (!tryAgain(question))
            return;
    }
}
