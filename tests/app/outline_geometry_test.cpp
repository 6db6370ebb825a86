// The finder's outline from what the system reports, as Windows 10 and 11
// report it: the numbers below are those machines', not this display's.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/outline_geometry.h"

namespace {

WindowGeometry Geometry(RECT window, RECT client, UINT dpi = 96)
{
    WindowGeometry geometry;
    geometry.window = window;
    geometry.client = client;
    geometry.dpi = dpi;
    return geometry;
}

WindowGeometry Framed(RECT window, RECT visible, RECT client, UINT dpi = 96)
{
    WindowGeometry geometry = Geometry(window, client, dpi);
    geometry.framed = true;
    geometry.visible = visible;
    return geometry;
}

void ExpectRect(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom)
{
    EXPECT_EQ(actual.left, left);
    EXPECT_EQ(actual.top, top);
    EXPECT_EQ(actual.right, right);
    EXPECT_EQ(actual.bottom, bottom);
}

TEST(OutlineGeometryTest, AChildControlIsOutlinedAlongItsWindowRectangle)
{
    const Outline outline = OutlineFor(Geometry({100, 100, 300, 250}, {102, 102, 298, 248}));
    ExpectRect(outline.frame, 100, 100, 300, 250);
    EXPECT_EQ(outline.width, 3);
    RECT strips[4];
    ASSERT_EQ(OutlineStrips(outline, strips), 4);
    ExpectRect(strips[0], 100, 100, 300, 103);
    ExpectRect(strips[1], 100, 247, 300, 250);
    ExpectRect(strips[2], 100, 103, 103, 247);
    ExpectRect(strips[3], 297, 103, 300, 247);
}

TEST(OutlineGeometryTest, ATopLevelWindowIsOutlinedInsideItsVisibleBounds)
{
    // Invisible resize borders of 7 pixels left, right and below.
    const RECT window = {93, 100, 707, 607};
    const RECT client = {101, 131, 699, 599};
    ExpectRect(OutlineFor(Framed(window, {100, 100, 700, 600}, client)).frame, 100, 100, 700, 600);

    // Bounds that would cut into the client area (a program drawing its own
    // frame), lie outside the window or are empty: the window rectangle.
    for (const RECT& visible : {RECT{100, 140, 700, 600}, RECT{90, 100, 700, 600}, RECT{0, 0, 0, 0}})
        ExpectRect(OutlineFor(Framed(window, visible, client)).frame, 93, 100, 707, 607);
}

TEST(OutlineGeometryTest, ATargetThatIsNotDpiAwareOnA150PercentMonitor)
{
    // A 400 x 300 window of a program that is not DPI aware, stretched to
    // 600 x 450 pixels. Measured per monitor, everything is in those pixels:
    // the outline reaches the right and bottom edges, with a band in scale.
    const Outline perMonitor =
        OutlineFor(Framed({140, 150, 760, 611}, {150, 150, 750, 600}, {152, 195, 748, 598}, 144));
    ExpectRect(perMonitor.frame, 150, 150, 750, 600);
    EXPECT_EQ(perMonitor.width, 5);
    RECT strips[4];
    ASSERT_EQ(OutlineStrips(perMonitor, strips), 4);
    ExpectRect(strips[1], 150, 595, 750, 600);
    ExpectRect(strips[3], 745, 155, 750, 595);

    // Measured by a thread that is not per-monitor aware (before Windows 10
    // 1607), the window rectangle is in that thread's scaled units while the
    // visible bounds stay physical: they are not used.
    const Outline scaled =
        OutlineFor(Framed({93, 100, 507, 407}, {150, 150, 750, 600}, {101, 130, 499, 399}, 96));
    ExpectRect(scaled.frame, 93, 100, 507, 407);
    EXPECT_EQ(scaled.width, 3);
}

TEST(OutlineGeometryTest, MonitorsLeftOfAndAboveThePrimaryHaveNegativeCoordinates)
{
    const Outline outline = OutlineFor(
        Framed({-1607, -900, -993, -293}, {-1600, -900, -1000, -300}, {-1599, -869, -1001, -301}));
    ExpectRect(outline.frame, -1600, -900, -1000, -300);
    RECT strips[4];
    ASSERT_EQ(OutlineStrips(outline, strips), 4);
    ExpectRect(strips[0], -1600, -900, -1000, -897);
    ExpectRect(strips[1], -1600, -303, -1000, -300);
    ExpectRect(strips[2], -1600, -897, -1597, -303);
    ExpectRect(strips[3], -1003, -897, -1000, -303);
}

TEST(OutlineGeometryTest, ASmallWindowIsFilledWithoutOverlap)
{
    RECT strips[4];
    ASSERT_EQ(OutlineStrips(Outline{{0, 0, 4, 2}, 3}, strips), 1);
    ExpectRect(strips[0], 0, 0, 4, 2);

    ASSERT_EQ(OutlineStrips(Outline{{0, 0, 5, 10}, 3}, strips), 4);
    ExpectRect(strips[0], 0, 0, 5, 3);
    ExpectRect(strips[1], 0, 7, 5, 10);
    ExpectRect(strips[2], 0, 3, 3, 7);
    ExpectRect(strips[3], 3, 3, 5, 7);

    EXPECT_EQ(OutlineStrips(Outline{{10, 10, 10, 40}, 3}, strips), 0);
}

}  // namespace
