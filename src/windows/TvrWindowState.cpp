// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrWindowState.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"

namespace tavrel {

TTvrWindowState::TTvrWindowState(QString APrefix, bool AKeepsPlace, QSize ADefaultSize)
    : FPrefix(std::move(APrefix)), FKeepsPlace(AKeepsPlace), FDefaultSize(ADefaultSize)
{
}

TTvrWindowPlace TTvrWindowState::Read() const
{
    TTvrWindowPlace Place;
    Place.Geometry.setSize(FDefaultSize);
    if (!HasConfig())
        return Place;
    const TTvrConfig& C = Config();
    QRect& R = Place.Geometry;
    if (FKeepsPlace)
        R.moveTo(C.ReadInteger(Key("Left"), R.left()), C.ReadInteger(Key("Top"), R.top()));
    R.setSize(QSize(C.ReadInteger(Key("Width"), R.width()), C.ReadInteger(Key("Height"), R.height())));
    Place.Maximized = C.ReadBool(Key("Maximized"), false);
    return Place;
}

TTvrWindowPlace TTvrWindowState::Restore(QWidget& AWindow) const
{
    TTvrWindowPlace Place = Read();
    QRect& R = Place.Geometry;
    QList<QRect> Areas;
    for (const QScreen* Screen : QGuiApplication::screens())
        Areas.append(Screen->availableGeometry());
    if (!FKeepsPlace) {
        if (const QScreen* Screen = QGuiApplication::primaryScreen())
            R.moveTopLeft(Screen->availableGeometry().center() - QPoint(R.width() / 2, R.height() / 2));
    }
    R = PlaceOnScreens(R, Areas);
    AWindow.resize(R.size());
    AWindow.move(R.topLeft());
    if (Place.Maximized)
        AWindow.setWindowState(AWindow.windowState() | Qt::WindowMaximized);
    return Place;
}

void TTvrWindowState::Save(const QWidget& AWindow, const std::vector<std::pair<QString, QString>>& AAlso) const
{
    TTvrConfig::TKeyValues Values;
    Values.emplace_back(Key("Maximized"), AWindow.isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
    if (!AWindow.isMaximized()) {
        if (FKeepsPlace) {
            Values.emplace_back(Key("Left"), QString::number(AWindow.x()));
            Values.emplace_back(Key("Top"), QString::number(AWindow.y()));
        }
        Values.emplace_back(Key("Width"), QString::number(AWindow.width()));
        Values.emplace_back(Key("Height"), QString::number(AWindow.height()));
    }
    Values.insert(Values.end(), AAlso.begin(), AAlso.end());
    Remember([&Values](TTvrConfig& AConfig) { AConfig.WriteStrings(Values); });
}

QRect PlaceOnScreens(const QRect& ARect, const QList<QRect>& AAvailable)
{
    if (AAvailable.isEmpty())
        return ARect;
    // The screen it overlaps most; when it overlaps none, the nearest to
    // its centre.
    const auto Overlap = [&ARect](const QRect& AArea) {
        const QRect Common = AArea.intersected(ARect);
        return Common.isEmpty() ? qint64 {0} : qint64 {Common.width()} * Common.height();
    };
    const auto Distance = [Centre = ARect.center()](const QRect& AArea) {
        const qint64 DX = Centre.x() < AArea.left() ? AArea.left() - Centre.x()
                          : Centre.x() > AArea.right() ? Centre.x() - AArea.right() : 0;
        const qint64 DY = Centre.y() < AArea.top() ? AArea.top() - Centre.y()
                          : Centre.y() > AArea.bottom() ? Centre.y() - AArea.bottom() : 0;
        return DX * DX + DY * DY;
    };
    QRect Area = AAvailable.constFirst();
    for (const QRect& Candidate : AAvailable) {
        if (Overlap(Candidate) > Overlap(Area)
            || (Overlap(Area) == 0 && Overlap(Candidate) == 0 && Distance(Candidate) < Distance(Area)))
            Area = Candidate;
    }
    QRect Result(ARect.topLeft(), QSize(std::min(ARect.width(), Area.width()), std::min(ARect.height(), Area.height())));
    Result.moveLeft(std::clamp(Result.left(), Area.left(), Area.left() + Area.width() - Result.width()));
    Result.moveTop(std::clamp(Result.top(), Area.top(), Area.top() + Area.height() - Result.height()));
    return Result;
}

} // namespace tavrel
