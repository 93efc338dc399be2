// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Item hints: the decision, and real lists and grids under the offscreen
// platform.
#include <QApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "shell/NbHints.h"

namespace tavrel {
namespace {

TEST(ItemHintDecision, OnlyWhereTheTextDoesNotFit)
{
    const QRect Item(0, 0, 100, 20);
    // clang-format off
    struct Case { const char* Text; const char* Hint; QSize Size; const char* Shown; };
    const Case kCases[] = {
        {"fits",  "fits",  {96, 18},  ""},
        {"wide",  "wide",  {97, 18},  "wide"},
        {"tall",  "tall",  {96, 19},  "tall"},
        {"fits",  "other", {10, 10},  "other"},
        {"",      "",      {0, 0},    ""},
        {"",      "hint",  {10, 10},  "hint"},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(ItemHintDecision(C.Text, C.Hint, C.Size, Item), QString(C.Shown)) << C.Text << "/" << C.Hint;
}

// The hint that a tool-tip event at the middle of the row brings.
QString HintOfRow(QListWidget& AList, TNbItemHint& AHint, int ARow)
{
    const QRect Rect = AList.visualItemRect(AList.item(ARow));
    QHelpEvent Event(QEvent::ToolTip, Rect.center(), AList.viewport()->mapToGlobal(Rect.center()));
    QApplication::sendEvent(AList.viewport(), &Event);
    return AHint.Hint();
}

TEST(TNbItemHint, OnlyForItemsThatDoNotFit)
{
    QListWidget List;
    List.resize(120, 100);
    List.addItems({"短い", "とても長い項目の名前がリストの幅を超えています"});
    auto* Hint = new TNbItemHint(&List, nullptr);
    List.show();
    EXPECT_EQ(HintOfRow(List, *Hint, 0), "");
    EXPECT_EQ(HintOfRow(List, *Hint, 1), "とても長い項目の名前がリストの幅を超えています");
    EXPECT_EQ(HintOfRow(List, *Hint, 0), "");
}

TEST(TNbItemHint, TheCallbackGivesTheHint)
{
    QListWidget List;
    List.resize(300, 100);
    List.addItems({"a", "b"});
    auto* Hint = new TNbItemHint(&List, [&](QWidget* ASender, const QModelIndex& AParam) {
        EXPECT_EQ(ASender, &List);
        return AParam.row() == 1 ? QString("b") : QString("行 %1").arg(AParam.row());
    });
    List.show();
    EXPECT_EQ(HintOfRow(List, *Hint, 0), "行 0");
    EXPECT_EQ(HintOfRow(List, *Hint, 1), "") << "the item's own text, fully visible";
}

TEST(TNbItemHint, GridCellsAndTheirPosition)
{
    QTableWidget Grid(2, 2);
    Grid.resize(400, 200);
    Grid.setColumnWidth(0, 60);
    Grid.setColumnWidth(1, 200);
    const QString Long = "金銭出納テーブル.csv の長い摘要";
    Grid.setItem(0, 0, new QTableWidgetItem(Long));
    Grid.setItem(0, 1, new QTableWidgetItem(Long));
    Grid.setItem(1, 0, new QTableWidgetItem("短"));
    auto* Hint = new TNbItemHint(&Grid, nullptr);
    Grid.show();
    // clang-format off
    struct Case { int Row; int Column; QString Shown; };
    const Case kCases[] = {{0, 0, Long}, {0, 1, ""}, {1, 0, ""}, {1, 1, ""}};
    // clang-format on
    for (const Case& C : kCases) {
        const QRect Rect = Grid.visualRect(Grid.model()->index(C.Row, C.Column));
        QHelpEvent Event(QEvent::ToolTip, Rect.center(), Grid.viewport()->mapToGlobal(Rect.center()));
        QApplication::sendEvent(Grid.viewport(), &Event);
        EXPECT_EQ(Hint->Hint(), C.Shown) << C.Row << "," << C.Column;
    }
}

} // namespace
} // namespace tavrel
