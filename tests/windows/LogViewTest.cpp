// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The run's log on its own, under the offscreen platform.
#include <QStringList>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <string>

#include "windows/TvrLogView.h"

namespace tavrel {
namespace {

QStringList LinesOf(const TTvrLogView& ALog)
{
    QStringList Lines;
    for (QTextBlock Block = ALog.document()->begin(); Block.isValid(); Block = Block.next())
        Lines.append(Block.text());
    if (Lines.size() == 1 && Lines[0].isEmpty())
        Lines.clear();
    return Lines;
}

TEST(TTvrLogView, EachLineOfAMessageIsALineOfTheLog)
{
    // clang-format off
    struct Case { const char* Name; std::string Message; QStringList Lines; };
    const Case kCases[] = {
        {"one line",             "集計が完了しました。",  {"集計が完了しました。"}},
        {"CR LF, CR and LF",     "a\r\nb\rc\nd",          {"a", "b", "c", "d"}},
        {"an empty message",     "",                      {""}},
        {"an empty line inside", "14行: x\n\n15行: y",    {"14行: x", "", "15行: y"}},
    };
    // clang-format on
    for (const Case& C : kCases) {
        TTvrLogView Log(nullptr);
        Log.Append("first");
        Log.Append(C.Message);
        Log.Flush();
        EXPECT_EQ(LinesOf(Log), QStringList {"first"} + C.Lines) << C.Name;
    }
}

TEST(TTvrLogView, ABurstReachesTheLogWholeAndInOrderAndClearForgetsWhatWasHeldBack)
{
    TTvrLogView Log(nullptr);
    QStringList Expected;
    for (int I = 1; I <= 500; ++I) {
        const QString Line = QStringLiteral("%1行: 日付が無効です。").arg(I);
        Log.Append(Line.toStdString());
        Expected.append(Line);
    }
    Log.Flush();
    EXPECT_EQ(LinesOf(Log), Expected);

    // However many lines were painted at once, none comes back after Clear.
    for (int I = 1; I <= 500; ++I)
        Log.Append("held");
    Log.Clear();
    Log.Flush();
    EXPECT_TRUE(LinesOf(Log).isEmpty());
    Log.Append("next run");
    Log.Flush();
    EXPECT_EQ(LinesOf(Log), QStringList {"next run"});
}

} // namespace
} // namespace tavrel
