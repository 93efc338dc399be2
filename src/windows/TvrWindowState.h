// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Where a window was and how large, remembered in the configuration from one
// use of the program to the next.

#include <QRect>
#include <QString>
#include <functional>

class QWidget;

namespace tavrel {

class TTvrConfig;

// A window's place as remembered.
struct TTvrWindowPlace {
    QRect Geometry {0, 0, 800, 600};
    bool Maximized = false;
};

// The size of a window (and, for a window that keeps it, its place) under a
// key prefix of the configuration: <prefix>Left, <prefix>Top,
// <prefix>Width, <prefix>Height and <prefix>Maximized. The viewer keeps
// its place under "Sheet."; the source-data dialog keeps its size under
// "Mksrc." and is centred on the screen.
class TTvrWindowState {
public:
    TTvrWindowState(QString APrefix, bool AKeepsPlace);

    // The remembered place: each value read, or its default (0, 0, 800 x
    // 600, not maximised) when the key is missing or not an integer, and
    // all defaults without a configuration.
    TTvrWindowPlace Read() const;
    // Gives the window the remembered size, then its place (or the middle
    // of the screen), then maximises it when it was; gives what it read.
    TTvrWindowPlace Restore(QWidget& AWindow) const;
    // Writes Maximized always, and the place and size only when the window
    // is not maximised, so that a window closed maximised keeps the place
    // it had before; then AAlso writes what else the window keeps. Without
    // a configuration nothing; a value that cannot be written is shown in
    // the error box and ends the writing.
    void Save(const QWidget& AWindow, const std::function<void(TTvrConfig&)>& AAlso = {}) const;

private:
    QString Key(const char* AName) const { return FPrefix + QLatin1String(AName); }

    QString FPrefix;
    bool FKeepsPlace;
};

} // namespace tavrel
