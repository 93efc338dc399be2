// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

namespace tavrel {

// The program's icon (a resource of tavrel_windows): the windows' icon and
// the picture of the version dialog.
QIcon ProgramIcon();

} // namespace tavrel
