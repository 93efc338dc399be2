// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbOverrideCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace tavrel {

TNbOverrideCursor::TNbOverrideCursor(Qt::CursorShape AShape)
{
    QGuiApplication::setOverrideCursor(AShape);
}

TNbOverrideCursor::~TNbOverrideCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace tavrel
