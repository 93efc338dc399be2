// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrProgramIcon.h"

namespace tavrel {

QIcon ProgramIcon()
{
    return QIcon(QStringLiteral(":/tavrel/tavrel.svg"));
}

} // namespace tavrel
