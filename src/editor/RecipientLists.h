#pragma once

#include "ListRows.h"

#include <QString>

QString SqueezeSpaces(QString entry);
