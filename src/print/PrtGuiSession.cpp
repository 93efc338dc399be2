// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtGuiSession.h"

#include "tables/TvrValue.h"

namespace tavrel {

TPrtGuiSession::TPrtGuiSession()
{
    if (QCoreApplication::instance() != nullptr) {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
            throw ETvrError("PDFファイルを描画できませんでした。");
        return;
    }
    // Pages go to files, never to a screen: the offscreen platform serves
    // with a display or without one, and an unreachable display cannot stop
    // a run. A platform the user chose is kept.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    FApplication = std::make_unique<QGuiApplication>(FArgc, FArgv);
}

TPrtGuiSession::~TPrtGuiSession() = default;

} // namespace tavrel
