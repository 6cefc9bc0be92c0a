// A DrawingDevice that writes the garden as SVG: the viewBox is the logical
// canvas and every figure becomes one element in drawing order with its exact
// integer logical points (the mapping calls are accepted and not applied).
// Polygon -> <polygon>, Polyline -> <polyline>, Ellipse -> <ellipse>; fill is
// the colour of the selected brush (none for a polyline), stroke the pen's.
#pragma once

#include <ostream>
#include <string>

#include "device/DrawingDevice.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {

struct SvgBackground {
    enum class Kind { None, Colour, Png };
    Kind kind = Kind::None;
    ColourRef colour = 0;   // Kind::Colour
    std::string pngBytes;   // Kind::Png, shown stretched over the canvas
};

class SvgDevice final : public DrawingDevice {
public:
    // Writes the header at once; the footer at Finish(). Output width and
    // height are the size the picture is shown at.
    SvgDevice(std::ostream& out, int width, int height, const SvgBackground& background = {});

    // Closes the document; nothing may be drawn afterwards.
    void Finish();
    // The state a fresh paint context starts in: default black pen, white brush.
    void ResetPaintState();

    GdiHandle SelectObject(GdiHandle object) override;
    void SetMapModeAnisotropic() override {}
    void SetWindowExt(int, int) override {}
    void SetViewportExt(int, int) override {}
    void SetViewportOrg(int, int) override {}
    bool Polygon(const Point* points, int count) override;
    bool Polyline(const Point* points, int count) override;
    bool Ellipse(int left, int top, int right, int bottom) override;

private:
    struct Selected {
        GdiHandle handle;
        ColourRef colour;
    };
    void WritePoints(const Point* points, int count);

    std::ostream& out_;
    Selected pen_{};
    Selected brush_{};
    bool finished_ = false;
};

// "#rrggbb" of a 0x00BBGGRR colour.
std::string SvgColour(ColourRef colour);
// Standard base64 with padding.
std::string Base64(const std::string& bytes);

}  // namespace tessaly
