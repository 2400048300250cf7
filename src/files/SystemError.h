#pragma once

#include <QString>

// Why a file operation failed, as the system reports it (errno): in Finnish
// for the failures a player can meet and mend, in the system's own words for
// the rest.
QString systemError(int errorNumber);
