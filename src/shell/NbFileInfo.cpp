// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbFileInfo.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

namespace tavrel {

namespace {

// The marker in front of the block, stored masked: were it stored as it is,
// every program holding this reader would seem to carry a block, and the
// reader could find its own copy of the marker before the real block.
constexpr std::array<unsigned char, 22> kMaskedMarker = [] {
    constexpr std::string_view Marker("\x7fTAVREL-VERSION-BLOCK\x7f");
    std::array<unsigned char, 22> Result {};
    for (size_t I = 0; I < Result.size(); ++I)
        Result[I] = static_cast<unsigned char>(Marker[I]) ^ 0x5a;
    return Result;
}();
// Read at run time, so that the compiler cannot unmask the marker into a
// constant of the program.
volatile unsigned char GMarkerMask = 0x5a;

QByteArray BlockMarker()
{
    QByteArray Marker(static_cast<qsizetype>(kMaskedMarker.size()), '\0');
    for (size_t I = 0; I < kMaskedMarker.size(); ++I)
        Marker[static_cast<qsizetype>(I)] = static_cast<char>(kMaskedMarker[I] ^ GMarkerMask);
    // The marker ends in a NUL, which the string above leaves out.
    Marker.append('\0');
    return Marker;
}

QString TrimmedValue(const QByteArray& AValue)
{
    qsizetype First = 0;
    qsizetype Last = AValue.size();
    while (First < Last && static_cast<unsigned char>(AValue[First]) <= 32)
        ++First;
    while (Last > First && static_cast<unsigned char>(AValue[Last - 1]) <= 32)
        --Last;
    return QString::fromUtf8(AValue.mid(First, Last - First));
}

} // namespace

void ReadFileInfo(const QString& AFileName, TNbFileInfo& AInfo)
{
    AInfo = TNbFileInfo();
    QString* const Fields[] = {&AInfo.Comments,         &AInfo.CompanyName,    &AInfo.FileDescription,
                               &AInfo.FileVersion,      &AInfo.InternalName,   &AInfo.LegalCopyright,
                               &AInfo.LegalTrademarks,  &AInfo.OriginalFilename, &AInfo.PrivateBuild,
                               &AInfo.ProductName,      &AInfo.ProductVersion, &AInfo.SpecialBuild};
    QFile File(AFileName);
    if (File.open(QIODevice::ReadOnly)) {
        const QByteArray Content = File.readAll();
        const QByteArray Marker = BlockMarker();
        const auto Found = std::search(Content.begin(), Content.end(),
                                       std::boyer_moore_horspool_searcher(Marker.begin(), Marker.end()));
        if (Found != Content.end()) {
            qsizetype Pos = (Found - Content.begin()) + Marker.size();
            for (QString* Field : Fields) {
                const qsizetype End = Content.indexOf('\0', Pos);
                // A block cut off by the end of the file keeps what is whole.
                if (End < 0)
                    break;
                *Field = TrimmedValue(Content.mid(Pos, End - Pos));
                Pos = End + 1;
            }
        }
    }
    if (AInfo.ProductName.isEmpty())
        AInfo.ProductName = QFileInfo(AFileName).fileName();
}

} // namespace tavrel
