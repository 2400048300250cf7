#include "ui/NameValidator.h"

#include "toplist/BestListFile.h"

QValidator::State NameValidator::validate(QString &input, int &) const
{
    return storableName(input) == input ? Acceptable : Invalid;
}
