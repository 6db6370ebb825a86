// The finder's outline from what the system reports, as Windows 10 and 11
// report it: the numbers below are those machines', not this display's.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/outline_geometry.h"

namespace {

// A window as measured; visible bounds only for a top-level window.
WindowGeometry Measured(RECT window, RECT client, const RECT* visible = nullptr, UINT dpi = 96)
{
    WindowGeometry geometry;
    geometry.window = window;
    geometry.client = client;
    geometry.framed = visible != nullptr;
    geometry.visible = visible ? *visible : RECT{};
    geometry.dpi = dpi;
    return geometry;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The band's pieces, top, bottom, left, right.
std::string Strips(const Outline& outline)
{
    RECT strips[4];
    std::string text;
    for (int i = 0, count = OutlineStrips(outline, strips); i < count; ++i)
        text += (i ? " " : "") + Text(strips[i]);
    return text;
}

TEST(OutlineGeometryTest, AChildControlIsOutlinedAlongItsWindowRectangle)
{
    const Outline outline = OutlineFor(Measured({100, 100, 300, 250}, {102, 102, 298, 248}));
    EXPECT_EQ(Strips(outline), "100,100,300,103 100,247,300,250 100,103,103,247 297,103,300,247");
}

TEST(OutlineGeometryTest, ATopLevelWindowIsOutlinedInsideItsVisibleBounds)
{
    // Invisible resize borders of 7 pixels left, right and below.
    const RECT window = {93, 100, 707, 607};
    const RECT client = {101, 131, 699, 599};
    const RECT visible = {100, 100, 700, 600};
    EXPECT_EQ(Text(OutlineFor(Measured(window, client, &visible)).frame), "100,100,700,600");

    // Bounds that would cut into the client area (a program drawing its own
    // frame), lie outside the window or are empty: the window rectangle.
    for (const RECT& wrong : {RECT{100, 140, 700, 600}, RECT{90, 100, 700, 600}, RECT{0, 0, 0, 0}})
        EXPECT_EQ(Text(OutlineFor(Measured(window, client, &wrong)).frame), "93,100,707,607");
}

TEST(OutlineGeometryTest, ATargetThatIsNotDpiAwareOnA150PercentMonitor)
{
    // A 400 x 300 window of a program that is not DPI aware, stretched to
    // 600 x 450 pixels. Measured per monitor, everything is in those pixels:
    // the outline reaches the right and bottom edges, with a band in scale.
    const RECT visible = {150, 150, 750, 600};
    const Outline perMonitor = OutlineFor(Measured({140, 150, 760, 611}, {152, 195, 748, 598}, &visible, 144));
    EXPECT_EQ(Strips(perMonitor), "150,150,750,155 150,595,750,600 150,155,155,595 745,155,750,595");

    // Measured by a thread that is not per-monitor aware (before Windows 10
    // 1607), the window rectangle is in that thread's scaled units while the
    // visible bounds stay physical: they are not used.
    const Outline scaled = OutlineFor(Measured({93, 100, 507, 407}, {101, 130, 499, 399}, &visible, 96));
    EXPECT_EQ(Text(scaled.frame), "93,100,507,407");
    EXPECT_EQ(scaled.width, 3);
}

TEST(OutlineGeometryTest, MonitorsLeftOfAndAboveThePrimaryHaveNegativeCoordinates)
{
    const RECT visible = {-1600, -900, -1000, -300};
    const Outline outline = OutlineFor(Measured({-1607, -900, -993, -293}, {-1599, -869, -1001, -301}, &visible));
    EXPECT_EQ(Strips(outline),
              "-1600,-900,-1000,-897 -1600,-303,-1000,-300 -1600,-897,-1597,-303 -1003,-897,-1000,-303");
}

TEST(OutlineGeometryTest, ASmallWindowIsFilledWithoutOverlap)
{
    EXPECT_EQ(Strips(Outline{{0, 0, 4, 2}, 3}), "0,0,4,2");
    EXPECT_EQ(Strips(Outline{{0, 0, 5, 10}, 3}), "0,0,5,3 0,7,5,10 0,3,3,7 3,3,5,7");
    EXPECT_EQ(Strips(Outline{{10, 10, 10, 40}, 3}), "");
}

}  // namespace
