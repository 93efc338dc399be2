// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The program's windows as a whole: the task-bar window and the cursor
// over every window.
#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <optional>

#include "shell/NbOverrideCursor.h"
#include "shell/NbWindows.h"
#include "tables/TvrValue.h"

namespace tavrel {
namespace {

TEST(TTvrTaskBarWindow, IsATopLevelWindowOfItsOwn)
{
    TTvrTaskBarWindow Window;
    EXPECT_TRUE(Window.isWindow());
    EXPECT_EQ(Window.parentWidget(), nullptr);
}

// The shape of the cursor set over the program's windows, or none.
std::optional<Qt::CursorShape> OverrideShape()
{
    const QCursor* Cursor = QGuiApplication::overrideCursor();
    return Cursor ? std::optional<Qt::CursorShape>(Cursor->shape()) : std::nullopt;
}

TEST(TNbOverrideCursor, GivesTheCursorBeforeItBackOnEveryWayOut)
{
    ASSERT_EQ(OverrideShape(), std::nullopt);
    // clang-format off
    struct Case { const char* Name; bool Raise; };
    const Case kCases[] = {{"work that ends", false}, {"work that raises", true}};
    // clang-format on
    for (const Case& C : kCases) {
        std::optional<Qt::CursorShape> During;
        try {
            const TNbOverrideCursor Wait;
            During = OverrideShape();
            if (C.Raise)
                throw ETvrError("2025会計.csv を読めません。");
        } catch (const ETvrError&) {
            EXPECT_EQ(OverrideShape(), std::nullopt) << C.Name << ": the cursor is back before the error is shown";
        }
        EXPECT_EQ(During, Qt::WaitCursor) << C.Name;
        EXPECT_EQ(OverrideShape(), std::nullopt) << C.Name;
    }
}

TEST(TNbOverrideCursor, NestedGuardsShowTheInnermostShape)
{
    {
        const TNbOverrideCursor Arrow(Qt::ArrowCursor);
        {
            const TNbOverrideCursor Wait;
            EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
        }
        EXPECT_EQ(OverrideShape(), Qt::ArrowCursor);
    }
    EXPECT_EQ(OverrideShape(), std::nullopt);
}

} // namespace
} // namespace tavrel
