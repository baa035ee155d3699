#include "RecipientLists.h"

QString SqueezeSpaces(QString entry)
{
    return entry;
}
