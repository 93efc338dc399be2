// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLocale>

#include "tables/TvrValue.h"

namespace tavrel {

// The regional settings of a locale: thousands and decimal separators, the
// order and separator of its short date format and the separator of its
// short time format. The C and POSIX locales give the Japanese conventions
// (the defaults of TTvrRegionalSettings), as does any part the locale's
// formats do not show.
TTvrRegionalSettings RegionalSettingsFromLocale(const QLocale& ALocale);

// The system's regional settings (QLocale::system()), read once at start-up
// by both the desktop program and tavrel-sumup. Needs no application object.
TTvrRegionalSettings SystemRegionalSettings();

} // namespace tavrel
