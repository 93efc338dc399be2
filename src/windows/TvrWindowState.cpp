// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrWindowState.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"

namespace tavrel {

TTvrWindowState::TTvrWindowState(QString APrefix, bool AKeepsPlace)
    : FPrefix(std::move(APrefix)), FKeepsPlace(AKeepsPlace)
{
}

TTvrWindowPlace TTvrWindowState::Read() const
{
    TTvrWindowPlace Place;
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
    const TTvrWindowPlace Place = Read();
    const QRect& R = Place.Geometry;
    if (FKeepsPlace) {
        AWindow.move(R.topLeft());
        AWindow.resize(R.size());
    } else {
        AWindow.resize(R.size());
        if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
            const QRect Area = Screen->availableGeometry();
            AWindow.move(Area.center() - QPoint(R.width() / 2, R.height() / 2));
        }
    }
    if (Place.Maximized)
        AWindow.setWindowState(AWindow.windowState() | Qt::WindowMaximized);
    return Place;
}

void TTvrWindowState::Save(const QWidget& AWindow, const std::function<void(TTvrConfig&)>& AAlso) const
{
    if (!HasConfig())
        return;
    try {
        TTvrConfig& C = Config();
        C.WriteBool(Key("Maximized"), AWindow.isMaximized());
        if (!AWindow.isMaximized()) {
            if (FKeepsPlace) {
                C.WriteInteger(Key("Left"), AWindow.x());
                C.WriteInteger(Key("Top"), AWindow.y());
            }
            C.WriteInteger(Key("Width"), AWindow.width());
            C.WriteInteger(Key("Height"), AWindow.height());
        }
        if (AAlso)
            AAlso(C);
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
    }
}

} // namespace tavrel
