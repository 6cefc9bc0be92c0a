#include "SvgDevice.h"

#include <cstdio>
#include <locale>

namespace tessaly {

namespace {

const GdiObjectRecord kDefaultPen{GdiObjectRecord::Kind::Pen, Rgb(0, 0, 0), true};
const GdiObjectRecord kDefaultBrush{GdiObjectRecord::Kind::Brush, Rgb(255, 255, 255), true};

// Half-integer coordinates of an ellipse written without a locale or
// floating point: "12" or "12.5" (or "-0.5").
std::string Halves(long long twice) {
    std::string s;
    if (twice < 0) {
        s = "-";
        twice = -twice;
    }
    s += std::to_string(twice / 2);
    if (twice % 2 != 0) s += ".5";
    return s;
}

}  // namespace

std::string SvgColour(ColourRef colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(colour), GreenOf(colour), BlueOf(colour));
    return text;
}

std::string Base64(const std::string& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += kDigits[(v >> 6) & 63];
        out += kDigits[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

SvgDevice::SvgDevice(std::ostream& out, int width, int height, const SvgBackground& background)
    : out_(out) {
    out_.imbue(std::locale::classic());  // digits only, whatever the user's locale
    ResetPaintState();
    // preserveAspectRatio none: the canvas is stretched over the output as the
    // anisotropic mapping stretches it. Outlines stay one output pixel wide.
    out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         << "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
         << " width=\"" << width << "\" height=\"" << height << "\""
         << " viewBox=\"0 0 " << logicalWidth << ' ' << logicalHeight << "\" preserveAspectRatio=\"none\">\n"
         << "<style>polygon,polyline,ellipse{stroke-width:1px;vector-effect:non-scaling-stroke;"
            "stroke-linejoin:round}</style>\n";
    switch (background.kind) {
        case SvgBackground::Kind::None: break;
        case SvgBackground::Kind::Colour:
            out_ << "<rect x=\"0\" y=\"0\" width=\"" << logicalWidth << "\" height=\"" << logicalHeight << "\" fill=\""
                 << SvgColour(background.colour) << "\"/>\n";
            break;
        case SvgBackground::Kind::Png:
            out_ << "<image x=\"0\" y=\"0\" width=\"" << logicalWidth << "\" height=\"" << logicalHeight
                 << "\" preserveAspectRatio=\"none\""
                 << " xlink:href=\"data:image/png;base64," << Base64(background.pngBytes) << "\"/>\n";
            break;
    }
}

void SvgDevice::Finish() {
    if (finished_) return;
    finished_ = true;
    out_ << "</svg>\n";
    out_.flush();
}

void SvgDevice::ResetPaintState() {
    pen_ = {const_cast<GdiObjectRecord*>(&kDefaultPen), kDefaultPen.colour};
    brush_ = {const_cast<GdiObjectRecord*>(&kDefaultBrush), kDefaultBrush.colour};
}

GdiHandle SvgDevice::SelectObject(GdiHandle object) {
    const GdiObjectRecord* record = PortableGdiObjects::Record(object);
    if (record == nullptr) return nullptr;
    Selected& slot = record->kind == GdiObjectRecord::Kind::Pen ? pen_ : brush_;
    const GdiHandle previous = slot.handle;
    slot = {object, record->colour};
    return previous;
}

void SvgDevice::WritePoints(const Point* points, int count) {
    out_ << " points=\"";
    for (int i = 0; i < count; ++i) {
        if (i > 0) out_ << ' ';
        out_ << points[i].x << ',' << points[i].y;
    }
    out_ << '"';
}

bool SvgDevice::Polygon(const Point* points, int count) {
    if (count < 2) return false;  // as GDI: nothing drawn
    out_ << "<polygon fill=\"" << SvgColour(brush_.colour) << "\" stroke=\"" << SvgColour(pen_.colour)
         << "\" fill-rule=\"evenodd\"";
    WritePoints(points, count);
    out_ << "/>\n";
    return true;
}

bool SvgDevice::Polyline(const Point* points, int count) {
    if (count < 2) return false;
    out_ << "<polyline fill=\"none\" stroke=\"" << SvgColour(pen_.colour) << '"';
    WritePoints(points, count);
    out_ << "/>\n";
    return true;
}

bool SvgDevice::Ellipse(int left, int top, int right, int bottom) {
    const long long l = left, t = top, r = right, b = bottom;
    out_ << "<ellipse fill=\"" << SvgColour(brush_.colour) << "\" stroke=\"" << SvgColour(pen_.colour)
         << "\" cx=\"" << Halves(l + r) << "\" cy=\"" << Halves(t + b) << "\" rx=\""
         << Halves(r > l ? r - l : l - r) << "\" ry=\"" << Halves(b > t ? b - t : t - b) << "\"/>\n";
    return true;
}

}  // namespace tessaly
