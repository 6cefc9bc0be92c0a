// The SVG writer: one element per figure with exact logical points and the
// colours of the selected pen and brush, through the real figures and holders.
#include <gtest/gtest.h>

#include <sstream>

#include "svg/SvgDevice.h"
#include "device/PortableGdiObjects.h"
#include "figures/Figure.h"
#include "device/GdiHolders.h"
#include "device/PenBrushSet.h"

namespace tessaly {
namespace {

std::string Body(const std::string& svg) {
    const std::size_t from = svg.find("</style>\n") + 9;
    const std::size_t to = svg.rfind("</svg>");
    return svg.substr(from, to - from);
}

TEST(SvgDevice, HeaderMapsTheLogicalCanvasOverTheOutputSize) {
    std::ostringstream out;
    SvgDevice svg(out, 1920, 1080);
    svg.Finish();
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_NE(text.find(" width=\"1920\" height=\"1080\""), std::string::npos);
    EXPECT_NE(text.find(" viewBox=\"0 0 1400 1000\" preserveAspectRatio=\"none\""), std::string::npos);
    EXPECT_EQ(Body(text), "");
    svg.Finish();  // a second Finish writes nothing more
    EXPECT_EQ(out.str(), text);
}

TEST(SvgDevice, OneElementPerCallWithExactPointsAndColours) {
    std::ostringstream out;
    SvgDevice svg(out, 1400, 1000);
    GdiObjectRecord pen{GdiObjectRecord::Kind::Pen, Rgb(255, 255, 255), true};
    GdiObjectRecord brush{GdiObjectRecord::Kind::Brush, Rgb(0x12, 0xab, 0x0f), false};
    svg.SelectObject(&pen);
    svg.SelectObject(&brush);
    svg.SetMapModeAnisotropic();  // mapping is not applied: points stay logical
    svg.SetWindowExt(1400, 1000);
    svg.SetViewportExt(1920, 1080);
    const Point tri[] = {{10, 20}, {-5, 1003}, {1399, 0}};
    EXPECT_TRUE(svg.Polygon(tri, 3));
    EXPECT_TRUE(svg.Polyline(tri, 2));
    EXPECT_TRUE(svg.Ellipse(488, 288, 512, 312));
    EXPECT_TRUE(svg.Ellipse(-3, 4, 2, 11));  // odd extents give halves
    EXPECT_FALSE(svg.Polygon(tri, 1));
    svg.Finish();
    EXPECT_EQ(Body(out.str()),
              "<polygon fill=\"#12ab0f\" stroke=\"#ffffff\" fill-rule=\"evenodd\" "
              "points=\"10,20 -5,1003 1399,0\"/>\n"
              "<polyline fill=\"none\" stroke=\"#ffffff\" points=\"10,20 -5,1003\"/>\n"
              "<ellipse fill=\"#12ab0f\" stroke=\"#ffffff\" cx=\"500\" cy=\"300\" rx=\"12\" ry=\"12\"/>\n"
              "<ellipse fill=\"#12ab0f\" stroke=\"#ffffff\" cx=\"-0.5\" cy=\"7.5\" rx=\"2.5\" ry=\"3.5\"/>\n");
}

TEST(SvgDevice, FiguresFillWithTheBrushOfTheirSlot) {
    PortableGdiObjects objects;
    CPen pen(objects);
    PenBrushSet brushes(objects);
    AssignStockObject(pen, kStockBlackPen);
    const ColourRef colours[7] = {Rgb(1, 0, 0), Rgb(2, 0, 0), Rgb(3, 0, 0), Rgb(4, 0, 0),
                                  Rgb(5, 0, 0), Rgb(6, 0, 0), Rgb(7, 0, 0)};
    CBrush* slots[7] = {&brushes.stemLeafBrush, &brushes.fallLeafBrush, &brushes.discBrush,
                        &brushes.petalBrush0,   &brushes.petalBrush1,   &brushes.petalBrush2,
                        &brushes.snowflakeBrush};
    for (int i = 0; i < 7; ++i) ReplaceSolidBrush(*slots[i], colours[i]);

    std::ostringstream out;
    SvgDevice svg(out, 1400, 1000);
    svg.SelectObject(pen.GetSafeHandle());
    auto fill = [](Figure& f) {
        f.points[0] = {1, 2};
        f.points[1] = {3, 4};
        f.points[2] = {5, 0};
        f.pointCount = 3;
    };
    StemLeafFigure stemLeaf;
    FallLeafFigure fallLeaf;
    PetalFigure petal0, petal1, petal7;
    SnowflakeFigure flake;
    PolylineFigure stem;
    DiscFigure disc;
    for (Figure* f : std::initializer_list<Figure*>{&stemLeaf, &fallLeaf, &petal0, &petal1, &petal7, &flake, &stem}) {
        fill(*f);
    }
    petal1.colourIndex = 1;
    petal7.colourIndex = 7;
    disc.SetCircle(500, 300, 12);
    for (Figure* f : std::initializer_list<Figure*>{&stemLeaf, &fallLeaf, &disc, &petal0, &petal1, &petal7, &stem, &flake}) {
        f->Draw(svg, brushes);
    }
    svg.Finish();
    std::istringstream lines(Body(out.str()));
    std::vector<std::string> fills;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("fill=\"");
        fills.push_back(line.substr(at + 6, line.find('"', at + 6) - at - 6));
        EXPECT_NE(line.find("stroke=\"#000000\""), std::string::npos) << line;
    }
    EXPECT_EQ(fills, (std::vector<std::string>{"#010000", "#020000", "#030000", "#040000", "#050000",
                                               "#060000", "none", "#070000"}));
}

TEST(SvgDevice, BackgroundIsAColourRectOrAnEmbeddedPng) {
    std::ostringstream white;
    SvgBackground colour;
    colour.kind = SvgBackground::Kind::Colour;
    colour.colour = Rgb(255, 255, 255);
    SvgDevice(white, 10, 10, colour).Finish();
    EXPECT_NE(white.str().find("<rect x=\"0\" y=\"0\" width=\"1400\" height=\"1000\" fill=\"#ffffff\"/>"),
              std::string::npos);

    std::ostringstream image;
    SvgBackground png;
    png.kind = SvgBackground::Kind::Png;
    png.pngBytes = "Man";
    SvgDevice(image, 10, 10, png).Finish();
    EXPECT_NE(image.str().find("xlink:href=\"data:image/png;base64,TWFu\""), std::string::npos);
}

TEST(SvgDevice, Base64PadsTheLastGroup) {
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("M"), "TQ==");
    EXPECT_EQ(Base64("Ma"), "TWE=");
    EXPECT_EQ(Base64("Man"), "TWFu");
    EXPECT_EQ(Base64(std::string("\xff\xfe\x00\x01", 4)), "//4AAQ==");
}

TEST(SvgDevice, ColoursAreLowercaseRrggbb) {
    EXPECT_EQ(SvgColour(Rgb(0xAB, 0xCD, 0xEF)), "#abcdef");
    EXPECT_EQ(SvgColour(0x00FF0000), "#0000ff");  // blue lives in the high byte
}

}  // namespace
}  // namespace tessaly
