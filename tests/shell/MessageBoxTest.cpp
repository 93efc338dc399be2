// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The message boxes: their text, buttons and answers, and the boxes shown
// through the test seam.
#include <QMessageBox>
#include <gtest/gtest.h>

#include "shell/NbMessageBox.h"
#include "tables/TvrValue.h"
#include "ShellTestSupport.h"

namespace tavrel {
namespace {

TEST(MessageBoxText, RewritesLineBreakEscapesInAnyCase)
{
    // clang-format off
    struct Case { const char* Text; const char* Shown; };
    const Case kCases[] = {
        {R"(a\nb)",        "a\nb"},
        {R"(a\Nb)",        "a\nb"},
        {"a~nb",           "a\nb"},
        {"a~Nb",           "a\nb"},
        {R"(a\r\nb)",      "a\nb"},
        {R"(a\R\Nb)",      "a\nb"},
        {R"(a\rb)",        "a\nb"},
        {R"(a\n\nb)",      "a\n\nb"},
        {R"(a\\b)",        R"(a\b)"},
        {R"(a\\nb)",       R"(a\nb)"},
        {R"(a\\\nb)",      "a\\\nb"},
        {"a\nb",           "a\nb"},
        {"a~b\\",          "a~b\\"},
        {"",               ""},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxText(QString::fromUtf8(C.Text)), QString::fromUtf8(C.Shown)) << C.Text;
}

TEST(MessageBoxText, PutsValuesInAsTheyAreAfterTurningTheEscapesOfTheTemplate)
{
    // clang-format off
    struct Case { const char* Template; QStringList Values; const char* Shown; };
    const Case kCases[] = {
        {"フォルダ \"%1\" が見つかりません。", {"/data/2024~nenkan"}, "フォルダ \"/data/2024~nenkan\" が見つかりません。"},
        {R"(a\n%1)",   {R"(x\ny\\z)"},       "a\n" R"(x\ny\\z)"},
        {"%1~n%2",     {"~n", R"(\r\n)"},      "~n\n" R"(\r\n)"},
        // A value holding a marker of a later value stays as it is.
        {"%1 / %2",    {"100%2", "b"},         "100%2 / b"},
        {"%2%1",       {"a", "b"},             "ba"},
        {"%1 %3",      {"a"},                  "a %3"},
        {"100% %",     {"a"},                  "100% %"},
        {"<b>%1</b>",  {"<i>"},                "<b><i></b>"},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxText(QString::fromUtf8(C.Template), C.Values), QString::fromUtf8(C.Shown)) << C.Template;
}

TEST(ShowMessageBox, ShowsTheValuesOfAnErrorAndOfATextAsTheyAre)
{
    // A folder whose name holds what would otherwise be line breaks.
    const QString Folder = QStringLiteral("/data/2024~nenkan/a\\nb\\r/");
    SetNextMessageBoxResult(QMessageBox::Ok);
    ShowMessageBox(nmkWarning, QStringLiteral("フォルダ \"%1\" が見つかりません。\\n次の行"), {Folder});
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Text, QStringLiteral("フォルダ \"") + Folder + QStringLiteral("\" が見つかりません。\n次の行"));

    SetNextMessageBoxResult(QMessageBox::Ok);
    ShowErrorMessage(ETvrError("ファイル \"" + Folder.toStdString() + "a.csv\" を開けません。\nPermission denied"));
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Text.toStdString(),
              "ファイル \"" + Folder.toStdString() + "a.csv\" を開けません。\nPermission denied");
}

TEST(MessageBoxAnswer, MapsTheBoxResult)
{
    // clang-format off
    struct Case { int Result; TNbMessageAnswer Answer; };
    const Case kCases[] = {
        {QMessageBox::Ok, nmaOk}, {QMessageBox::Cancel, nmaCancel}, {QMessageBox::Abort, nmaAbort},
        {QMessageBox::Retry, nmaRetry}, {QMessageBox::Ignore, nmaIgnore}, {QMessageBox::Yes, nmaYes},
        {QMessageBox::No, nmaNo}, {QMessageBox::Save, nmaNone}, {QMessageBox::Close, nmaNone}, {0, nmaNone},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxAnswer(C.Result), C.Answer) << C.Result;
    EXPECT_EQ(static_cast<int>(nmaNone), 255);
}

TEST(MessageBoxButtons, GivesTheButtonsOfEachChoice)
{
    using B = QMessageBox;
    // clang-format off
    struct Case { TNbMessageButtons Buttons; QMessageBox::StandardButtons Shown; };
    const Case kCases[] = {
        {nmbOk, B::Ok}, {nmbOkCancel, B::Ok | B::Cancel}, {nmbAbortRetryIgnore, B::Abort | B::Retry | B::Ignore},
        {nmbYesNoCancel, B::Yes | B::No | B::Cancel}, {nmbYesNo, B::Yes | B::No}, {nmbRetryCancel, B::Retry | B::Cancel},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxButtons(C.Buttons), C.Shown) << C.Buttons;
}

TEST(ShowMessageBox, AnsweredThroughTheSeam)
{
    const TScopedEnv Program("AppProgramName", "Tavrel");
    // clang-format off
    struct Case { TNbMessageKind Kind; TNbMessageButtons Buttons; int Result; TNbMessageAnswer Answer;
                  QMessageBox::Icon Icon; };
    const Case kCases[] = {
        {nmkError,       nmbOk,               QMessageBox::Ok,     nmaOk,     QMessageBox::Critical},
        {nmkWarning,     nmbOkCancel,         QMessageBox::Cancel, nmaCancel, QMessageBox::Warning},
        {nmkQuestion,    nmbYesNoCancel,      QMessageBox::No,     nmaNo,     QMessageBox::Question},
        {nmkInformation, nmbAbortRetryIgnore, QMessageBox::Ignore, nmaIgnore, QMessageBox::Information},
        {nmkNotice,      nmbRetryCancel,      QMessageBox::Retry,  nmaRetry,  QMessageBox::Information},
        {nmkQuestion,    nmbYesNo,            -1,                  nmaNone,   QMessageBox::Question},
    };
    // clang-format on
    for (const Case& C : kCases) {
        SetNextMessageBoxResult(C.Result);
        EXPECT_EQ(ShowMessageBox(C.Kind, R"(1行目\n2行目 a\\b)", C.Buttons), C.Answer) << C.Kind;
        ASSERT_TRUE(LastMessageBox().has_value());
        EXPECT_EQ(LastMessageBox()->Caption, "Tavrel");
        EXPECT_EQ(LastMessageBox()->Text, "1行目\n2行目 a\\b");
        EXPECT_EQ(LastMessageBox()->Icon, C.Icon) << C.Kind;
        EXPECT_EQ(LastMessageBox()->Buttons, MessageBoxButtons(C.Buttons)) << C.Kind;
    }
}

TEST(ShowMessageBox, CaptionIsTheProgramsBaseNameWithoutAppProgramName)
{
    const TScopedEnv Program("AppProgramName", "");
    SetNextMessageBoxResult(QMessageBox::Ok);
    ShowMessageBox(nmkInformation, "x");
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Caption, "shell_test");
}

TEST(ShowErrorMessage, ShowsTheErrorsUtf8TextIntactInAnErrorBox)
{
    const TScopedEnv Program("AppProgramName", "Tavrel");
    // clang-format off
    const std::string kTexts[] = {
        "2025会計.csv: 14行: 日付が無効です。",
        "/home/会計/帳簿/Tavrel.ini: アクセスが拒否されました。",
        "ドキュメント フォルダーが見つかりません。",
    };
    // clang-format on
    for (const std::string& Text : kTexts) {
        SetNextMessageBoxResult(QMessageBox::Ok);
        ShowErrorMessage(ETvrError(Text));
        ASSERT_TRUE(LastMessageBox().has_value()) << Text;
        EXPECT_EQ(LastMessageBox()->Text.toStdString(), Text);
        EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical) << Text;
        EXPECT_EQ(LastMessageBox()->Buttons, QMessageBox::StandardButtons(QMessageBox::Ok)) << Text;
        EXPECT_EQ(LastMessageBox()->Caption, "Tavrel") << Text;
    }
}

} // namespace
} // namespace tavrel
