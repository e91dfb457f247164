#include "wizard/MoveFormNearOwner.h"

#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1024, 768);
const QSize kForm(300, 120);

TEST(FormPositionNearOwner, PlacesByMode)
{
    const QRect owner(100, 50, 500, 400);
    EXPECT_EQ(FormPositionNearOwner(fpBelowRight, owner, kForm, kScreen), QPoint(120, 70));
    EXPECT_EQ(FormPositionNearOwner(fpCentred, owner, kForm, kScreen), QPoint(200, 190));
    EXPECT_EQ(FormPositionNearOwner(fpAboveLeft, owner, kForm, kScreen), QPoint(80, 30));
    EXPECT_EQ(FormPositionNearOwner(fpScreenCorner, owner, kForm, kScreen), QPoint(724, 648));
    EXPECT_EQ(FormPositionNearOwner(7, owner, kForm, kScreen), QPoint(0, 0));
}

TEST(FormPositionNearOwner, KeepsTheFormOnTheScreen)
{
    EXPECT_EQ(FormPositionNearOwner(fpAboveLeft, QRect(5, 10, 200, 200), kForm, kScreen), QPoint(2, 2));
    EXPECT_EQ(FormPositionNearOwner(fpBelowRight, QRect(900, 700, 100, 50), kForm, kScreen),
              QPoint(1024 - 300 - 2, 768 - 120 - 2));
}

}  // namespace
