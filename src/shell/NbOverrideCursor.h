// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The mouse cursor over every window of the program while some work runs.

#include <Qt>

namespace tavrel {

// Sets the shape (the wait cursor unless another is given) over every
// window of the program for its own life, and gives the cursor before it
// back on every way out, an error raised by the guarded work too. Guards
// nest: the innermost shape shows.
class TNbOverrideCursor {
public:
    explicit TNbOverrideCursor(Qt::CursorShape AShape = Qt::WaitCursor);
    ~TNbOverrideCursor();
    TNbOverrideCursor(const TNbOverrideCursor&) = delete;
    TNbOverrideCursor& operator=(const TNbOverrideCursor&) = delete;
};

} // namespace tavrel
