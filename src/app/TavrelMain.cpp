// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The desktop program.
//
//   tavrel [FOLDER]   starts the main window, on FOLDER as the source-data
//                     location when one is given
#include "windows/TvrBaseWindow.h"

int main(int argc, char** argv)
{
    return tavrel::RunTavrel(argc, argv);
}
