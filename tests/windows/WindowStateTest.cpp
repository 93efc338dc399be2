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
#include <sys/inotify.h>
#include <unistd.h>

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
        State.Save(Window, {{P + "ListWidth", QStringLiteral("250")}});
        EXPECT_EQ(Value(P + "ListWidth"), QStringLiteral("250")) << C.Prefix;
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

TEST_F(WindowStateTest, ARefusedWriteIsSaidOnceAndTheWindowClosesAllTheSame)
{
    // A folder where the file should be: no write can replace it.
    ASSERT_TRUE(QDir().mkpath(FDocuments.filePath(QStringLiteral("Tavrel/Tavrel.ini"))));
    const int Before = MessageBoxCount();
    for (const char* Prefix : {"Sheet.", "Mksrc."}) {
        auto Window = std::make_unique<QWidget>();
        Window->show();
        SetNextMessageBoxResult(QMessageBox::Ok);
        TTvrWindowState(QLatin1String(Prefix), true).Save(*Window, {{QStringLiteral("Sheet.ListWidth"), "250"}});
        Window.reset();
    }
    // The viewer's and then the dialog's sizes: one box for both.
    EXPECT_EQ(MessageBoxCount(), Before + 1);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_TRUE(LastMessageBox()->Text.contains(QStringLiteral("Tavrel.ini"))) << LastMessageBox()->Text.toStdString();
    EXPECT_EQ(Value(QStringLiteral("Sheet.ListWidth")), std::nullopt);
    // The seam's answer the second save did not take.
    SetNextMessageBoxResult(QMessageBox::Ok);
    ShowMessageBox(nmkInformation, QStringLiteral("x"));
}

TEST_F(WindowStateTest, ASaveWritesTheFileOnce)
{
    Config().WriteInteger(QStringLiteral("Sheet.Left"), 1);
    // Each write of the file renames a finished copy onto it.
    const int Watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(Watch, 0);
    ASSERT_GE(::inotify_add_watch(Watch, FDocuments.filePath(QStringLiteral("Tavrel")).toUtf8().constData(),
                                  IN_MOVED_TO | IN_CLOSE_WRITE),
              0);
    QWidget Window;
    Window.move(60, 70);
    Window.resize(640, 480);
    TTvrWindowState(QStringLiteral("Sheet."), true).Save(Window, {{QStringLiteral("Sheet.ListWidth"), "300"}});
    int Renames = 0;
    alignas(inotify_event) char Buffer[4096];
    for (ssize_t Length; (Length = ::read(Watch, Buffer, sizeof(Buffer))) > 0;) {
        for (ssize_t Pos = 0; Pos < Length;) {
            const auto* Event = reinterpret_cast<const inotify_event*>(Buffer + Pos);
            if ((Event->mask & IN_MOVED_TO) && Event->len > 0 && QLatin1String(Event->name) == "Tavrel.ini")
                ++Renames;
            Pos += static_cast<ssize_t>(sizeof(inotify_event) + Event->len);
        }
    }
    ::close(Watch);
    EXPECT_EQ(Renames, 1);
    EXPECT_EQ(Value(QStringLiteral("Sheet.ListWidth")), QStringLiteral("300"));
    EXPECT_EQ(Value(QStringLiteral("Sheet.Left")), QStringLiteral("60"));
}

TEST(PlaceOnScreens, AWindowOffEveryScreenOrLargerThanItComesOntoTheNearest)
{
    const QList<QRect> Screens = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 984)};
    // clang-format off
    struct Case { const char* Name; QRect Remembered; QRect Placed; };
    const Case kCases[] = {
        {"inside the first",            QRect(100, 100, 800, 600),     QRect(100, 100, 800, 600)},
        {"inside the second",           QRect(2000, 50, 800, 600),     QRect(2000, 50, 800, 600)},
        {"on a screen that is gone",    QRect(5000, 3000, 800, 600),   QRect(2400, 384, 800, 600)},
        {"above and left of all",       QRect(-900, -700, 800, 600),   QRect(0, 0, 800, 600)},
        {"larger than its screen",      QRect(2000, 10, 3000, 2000),   QRect(1920, 0, 1280, 984)},
        {"across both, mostly first",   QRect(1500, 100, 800, 600),    QRect(1120, 100, 800, 600)},
        {"partly below the first",      QRect(100, 900, 800, 600),     QRect(100, 440, 800, 600)},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(PlaceOnScreens(C.Remembered, Screens), C.Placed) << C.Name;
    EXPECT_EQ(PlaceOnScreens(QRect(5000, 5000, 10, 10), {}), QRect(5000, 5000, 10, 10));
}

TEST_F(WindowStateTest, RestoreBringsARememberedPlaceOffTheScreenBack)
{
    const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
    Config().WriteInteger(QStringLiteral("Sheet.Left"), Area.right() + 5000);
    Config().WriteInteger(QStringLiteral("Sheet.Top"), Area.bottom() + 5000);
    Config().WriteInteger(QStringLiteral("Sheet.Width"), Area.width() + 500);
    Config().WriteInteger(QStringLiteral("Sheet.Height"), 300);
    QWidget Window;
    const TTvrWindowPlace Place = TTvrWindowState(QStringLiteral("Sheet."), true).Restore(Window);
    EXPECT_TRUE(Area.contains(QRect(Window.pos(), Window.size()))) << Window.x() << "," << Window.y();
    EXPECT_EQ(Window.size(), QSize(Area.width(), 300));
    EXPECT_EQ(Place.Geometry, QRect(Window.pos(), Window.size()));
}

TEST(WindowState, WithoutAConfigurationTheDefaultsAndNothingWritten)
{
    ASSERT_FALSE(HasConfig());
    const TTvrWindowState State(QStringLiteral("Sheet."), true);
    const TTvrWindowPlace Place = State.Read();
    EXPECT_EQ(Place.Geometry, QRect(0, 0, 800, 600));
    EXPECT_FALSE(Place.Maximized);
    QWidget Window;
    State.Save(Window, {{QStringLiteral("Sheet.ListWidth"), "250"}});
    EXPECT_FALSE(HasConfig());
}

} // namespace
} // namespace tavrel
