// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The window-state saver on plain windows and a configuration of the
// test's own.
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "windows/TvrWindowState.h"

namespace tavrel {
namespace {

class WindowStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDocuments.isValid());
        SetConfig(std::make_unique<TTvrConfig>(FDocuments.path()));
    }
    void TearDown() override { SetConfig(nullptr); }

    static std::optional<QString> Value(const QString& AKey) { return Config().FindString(AKey); }

    QTemporaryDir FDocuments;
};

// The two windows that keep their state: the viewer with its place, the
// source-data dialog with its size only.
struct TStateCase {
    const char* Prefix;
    bool KeepsPlace;
};
const TStateCase kStateCases[] = {{"Sheet.", true}, {"Mksrc.", false}};

TEST_F(WindowStateTest, ANormalWindowWritesItsSizeAndOnlyAWindowThatKeepsItAlsoItsPlace)
{
    for (const TStateCase& C : kStateCases) {
        const QString P = QString::fromLatin1(C.Prefix);
        const TTvrWindowState State(P, C.KeepsPlace);
        QWidget Window;
        Window.move(60, 70);
        Window.resize(640, 480);
        bool AlsoWritten = false;
        State.Save(Window, [&AlsoWritten](TTvrConfig&) { AlsoWritten = true; });
        EXPECT_TRUE(AlsoWritten) << C.Prefix;
        EXPECT_EQ(Value(P + "Maximized"), QStringLiteral("0")) << C.Prefix;
        EXPECT_EQ(Value(P + "Width"), QStringLiteral("640")) << C.Prefix;
        EXPECT_EQ(Value(P + "Height"), QStringLiteral("480")) << C.Prefix;
        EXPECT_EQ(Value(P + "Left"), C.KeepsPlace ? std::optional<QString>("60") : std::nullopt) << C.Prefix;
        EXPECT_EQ(Value(P + "Top"), C.KeepsPlace ? std::optional<QString>("70") : std::nullopt) << C.Prefix;

        const TTvrWindowPlace Read = State.Read();
        EXPECT_EQ(Read.Geometry, QRect(C.KeepsPlace ? QPoint(60, 70) : QPoint(0, 0), QSize(640, 480))) << C.Prefix;
        EXPECT_FALSE(Read.Maximized) << C.Prefix;
    }
}

TEST_F(WindowStateTest, AWindowClosedMaximisedKeepsThePlaceItHadBefore)
{
    for (const TStateCase& C : kStateCases) {
        const QString P = QString::fromLatin1(C.Prefix);
        const TTvrWindowState State(P, C.KeepsPlace);
        for (const char* Key : {"Left", "Top", "Width", "Height"})
            Config().WriteInteger(P + QLatin1String(Key), 321);
        QWidget Window;
        Window.move(60, 70);
        Window.resize(640, 480);
        Window.setWindowState(Qt::WindowMaximized);
        State.Save(Window);
        EXPECT_EQ(Value(P + "Maximized"), QStringLiteral("1")) << C.Prefix;
        for (const char* Key : {"Left", "Top", "Width", "Height"})
            EXPECT_EQ(Value(P + QLatin1String(Key)), QStringLiteral("321")) << C.Prefix << Key;
        EXPECT_TRUE(State.Read().Maximized) << C.Prefix;
    }
}

TEST_F(WindowStateTest, RestoreMovesAWindowThatKeepsItsPlaceAndCentresTheOther)
{
    const QScreen* Screen = QGuiApplication::primaryScreen();
    ASSERT_NE(Screen, nullptr);
    const QPoint Centre = Screen->availableGeometry().center();
    for (const TStateCase& C : kStateCases) {
        const QString P = QString::fromLatin1(C.Prefix);
        Config().WriteInteger(P + "Left", 40);
        Config().WriteInteger(P + "Top", 30);
        Config().WriteInteger(P + "Width", 500);
        Config().WriteInteger(P + "Height", 300);
        Config().WriteBool(P + "Maximized", false);
        QWidget Window;
        TTvrWindowState(P, C.KeepsPlace).Restore(Window);
        EXPECT_EQ(Window.size(), QSize(500, 300)) << C.Prefix;
        EXPECT_EQ(Window.pos(), C.KeepsPlace ? QPoint(40, 30) : Centre - QPoint(250, 150)) << C.Prefix;
        EXPECT_FALSE(Window.isMaximized()) << C.Prefix;

        Config().WriteBool(P + "Maximized", true);
        QWidget Maximised;
        TTvrWindowState(P, C.KeepsPlace).Restore(Maximised);
        EXPECT_TRUE(Maximised.isMaximized()) << C.Prefix;
    }
}

TEST_F(WindowStateTest, ARefusedWriteShowsOneErrorBoxAndEndsTheWriting)
{
    // A folder where the file should be: no write can replace it.
    ASSERT_TRUE(QDir().mkpath(FDocuments.filePath(QStringLiteral("Tavrel/Tavrel.ini"))));
    QWidget Window;
    bool AlsoWritten = false;
    SetNextMessageBoxResult(QMessageBox::Ok);
    TTvrWindowState(QStringLiteral("Sheet."), true).Save(Window, [&AlsoWritten](TTvrConfig&) { AlsoWritten = true; });
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_TRUE(LastMessageBox()->Text.contains(QStringLiteral("Tavrel.ini"))) << LastMessageBox()->Text.toStdString();
    EXPECT_FALSE(AlsoWritten);
}

TEST(WindowState, WithoutAConfigurationTheDefaultsAndNothingWritten)
{
    ASSERT_FALSE(HasConfig());
    const TTvrWindowState State(QStringLiteral("Sheet."), true);
    const TTvrWindowPlace Place = State.Read();
    EXPECT_EQ(Place.Geometry, QRect(0, 0, 800, 600));
    EXPECT_FALSE(Place.Maximized);
    QWidget Window;
    bool AlsoWritten = false;
    State.Save(Window, [&AlsoWritten](TTvrConfig&) { AlsoWritten = true; });
    EXPECT_FALSE(AlsoWritten);
}

} // namespace
} // namespace tavrel
