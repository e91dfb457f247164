#include "support/ui/DialogPlacement.h"

#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1024, 768);
const QSize kBox(200, 100);

TEST(CalcDialogPos, PlacesByModeRelativeToTheOwner)
{
    const QRect owner(100, 50, 400, 300);
    EXPECT_EQ(CalcDialogPos(dpBelowRight, owner, kBox, kScreen, {}), QPoint(120, 70));
    EXPECT_EQ(CalcDialogPos(dpCentred, owner, kBox, kScreen, {}), QPoint(200, 150));
    EXPECT_EQ(CalcDialogPos(dpAboveLeft, owner, kBox, kScreen, {}), QPoint(80, 30));
    EXPECT_EQ(CalcDialogPos(7, owner, kBox, kScreen, QPoint(300, 400)), QPoint(300, 400));
}

TEST(CalcDialogPos, CentringTruncatesOddHalves)
{
    const QRect owner(101, 51, 301, 201);
    const QSize box(51, 31);
    // 101 + 150 - 25, 51 + 100 - 15
    EXPECT_EQ(CalcDialogPos(dpCentred, owner, box, kScreen, {}), QPoint(226, 136));
}

TEST(CalcDialogPos, KeepsTheBoxTwoPixelsInsideTheScreen)
{
    const QRect nearRight(900, 700, 300, 200);
    EXPECT_EQ(CalcDialogPos(dpCentred, nearRight, kBox, kScreen, {}), QPoint(822, 666));
    const QRect nearLeft(-300, -200, 200, 100);
    EXPECT_EQ(CalcDialogPos(dpCentred, nearLeft, kBox, kScreen, {}), QPoint(2, 2));
    EXPECT_EQ(CalcDialogPos(dpAboveLeft, QRect(10, 10, 400, 300), kBox, kScreen, {}),
              QPoint(2, 2));
}

TEST(CalcDialogPos, AFitThatTouchesTheEdgeStays)
{
    EXPECT_EQ(ClampToScreen(QPoint(824, 668), kBox, kScreen), QPoint(824, 668));
    EXPECT_EQ(ClampToScreen(QPoint(825, 669), kBox, kScreen), QPoint(822, 666));
    EXPECT_EQ(ClampToScreen(QPoint(0, 0), kBox, kScreen), QPoint(0, 0));
}

TEST(CalcDialogPos, WorksOnAScreenAwayFromTheOrigin)
{
    const QRect second(1024, 0, 800, 600);
    EXPECT_EQ(CalcDialogPos(dpCentred, QRect(1700, 100, 200, 100), kBox, second, {}),
              QPoint(1622, 100));
    EXPECT_EQ(ClampToScreen(QPoint(1000, 10), kBox, second), QPoint(1026, 10));
}

TEST(TaskbarRect, IsTheStripOutsideTheAvailableGeometry)
{
    EXPECT_EQ(TaskbarRect(kScreen, QRect(0, 0, 1024, 728)), QRect(0, 728, 1024, 40));
    EXPECT_EQ(TaskbarRect(kScreen, QRect(0, 30, 1024, 738)), QRect(0, 0, 1024, 30));
    EXPECT_EQ(TaskbarRect(kScreen, QRect(0, 0, 960, 768)), QRect(960, 0, 64, 768));
    EXPECT_EQ(TaskbarRect(kScreen, QRect(64, 0, 960, 768)), QRect(0, 0, 64, 768));
    EXPECT_EQ(TaskbarRect(kScreen, kScreen), std::nullopt);
}

TEST(TaskbarRect, PrefersTheBottomEdgeWhenThereAreSeveralPanels)
{
    EXPECT_EQ(TaskbarRect(kScreen, QRect(0, 30, 1024, 700)), QRect(0, 730, 1024, 38));
}

TEST(KeepOffTaskbar, LiftsAWindowAboveABottomTaskbar)
{
    const QRect taskbar(0, 728, 1024, 40);
    EXPECT_EQ(KeepOffTaskbar(QRect(100, 650, 200, 100), kScreen, taskbar),
              QRect(100, 628, 200, 100));
    EXPECT_EQ(KeepOffTaskbar(QRect(100, 628, 200, 100), kScreen, taskbar),
              QRect(100, 628, 200, 100));
}

TEST(KeepOffTaskbar, MovesAWindowOffTaskbarsAtTheOtherEdges)
{
    const QRect form(10, 10, 200, 100);
    EXPECT_EQ(KeepOffTaskbar(form, kScreen, QRect(0, 0, 1024, 30)), QRect(10, 30, 200, 100));
    EXPECT_EQ(KeepOffTaskbar(QRect(900, 10, 200, 100), kScreen, QRect(960, 0, 64, 768)),
              QRect(760, 10, 200, 100));
    EXPECT_EQ(KeepOffTaskbar(form, kScreen, QRect(0, 0, 64, 768)), QRect(64, 10, 200, 100));
}

TEST(KeepOffTaskbar, FirstKeepsTheWindowWithinTheDesktop)
{
    EXPECT_EQ(KeepOffTaskbar(QRect(-50, -20, 200, 100), kScreen, std::nullopt),
              QRect(0, 0, 200, 100));
    EXPECT_EQ(KeepOffTaskbar(QRect(900, 700, 200, 100), kScreen, std::nullopt),
              QRect(824, 668, 200, 100));
    // Pushed inside the desktop, then lifted above the taskbar.
    EXPECT_EQ(KeepOffTaskbar(QRect(900, 700, 200, 100), kScreen, QRect(0, 728, 1024, 40)),
              QRect(824, 628, 200, 100));
}

TEST(KeepOffTaskbar, IgnoresAStripThatDoesNotSpanAnEdge)
{
    const QRect form(10, 700, 200, 60);
    EXPECT_EQ(KeepOffTaskbar(form, kScreen, QRect(0, 728, 500, 40)), form);
}

}  // namespace
