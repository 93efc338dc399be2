// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Where a window was and how large, remembered in the configuration from one
// use of the program to the next.

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <utility>
#include <vector>

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
// "Mksrc." and the chart window under "Chart.", both centred on the screen.
class TTvrWindowState {
public:
    // ADefaultSize: the size before one is remembered.
    TTvrWindowState(QString APrefix, bool AKeepsPlace, QSize ADefaultSize = QSize(800, 600));

    // The remembered place: each value read, or its default (0, 0, the
    // default size, not maximised) when the key is missing or not an
    // integer, and all defaults without a configuration.
    TTvrWindowPlace Read() const;
    // Gives the window the remembered size, then its place (or the middle
    // of the screen), both brought onto the screens (PlaceOnScreens), then
    // maximises it when it was; gives the place it took.
    TTvrWindowPlace Restore(QWidget& AWindow) const;
    // Writes Maximized always, and the place and size only when the window
    // is not maximised, so that a window closed maximised keeps the place
    // it had before; AAlso are further keys and values the window keeps.
    // All in one write of the file. Without a configuration nothing; a
    // write the file refuses is said once (Remember) and the window closes
    // all the same.
    void Save(const QWidget& AWindow, const std::vector<std::pair<QString, QString>>& AAlso = {}) const;

private:
    QString Key(const char* AName) const { return FPrefix + QLatin1String(AName); }

    QString FPrefix;
    bool FKeepsPlace;
    QSize FDefaultSize;
};

// A window's rectangle brought onto the screens whose available areas are
// given: on the nearest of them (the one it overlaps most, else the one
// nearest to its centre), no larger than that area and wholly inside it.
// A place remembered on a screen that is gone, or a size from a larger
// screen, would otherwise leave the window where the user cannot reach it.
// Without screens the rectangle as it is. The rectangle is a window's place
// (where its frame begins) and its size within the frame, as QWidget's move
// and resize take them; the frame around it is the desktop's.
QRect PlaceOnScreens(const QRect& ARect, const QList<QRect>& AAvailable);

} // namespace tavrel
