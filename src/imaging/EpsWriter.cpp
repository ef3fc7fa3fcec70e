#include "imaging/EpsWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/Status.h"

#include <algorithm>
#include <string>

namespace korvan::imaging {
namespace {

constexpr size_t kHexPerLine = 78;  // PostScript lines stay under 255 characters

} // namespace

int WriteEps(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (bitsPerPixel != 8) return kInvalidBitsPerPixel;
    const std::string w = std::to_string(bitmap.Width()), h = std::to_string(bitmap.Height());
    // A level 1 string holds at most 65535 bytes; the data procedure may hand over less than a row.
    const std::string buffer = std::to_string(std::min(bitmap.Width(), 65535));
    const std::string header =
        "%!PS-Adobe-3.0 EPSF-3.0\n"
        "%%Creator: Korvan Screenshot 2.3\n"
        "%%BoundingBox: 0 0 " + w + " " + h + "\n"
        "%%HiResBoundingBox: 0 0 " + w + " " + h + "\n"
        "%%LanguageLevel: 1\n"
        "%%Pages: 1\n"
        "%%DocumentData: Clean7Bit\n"
        "%%EndComments\n"
        "%%BeginProlog\n"
        "%%EndProlog\n"
        "%%Page: 1 1\n"
        "save\n"
        "/korvanrow " + buffer + " string def\n" +
        w + " " + h + " scale\n" +
        w + " " + h + " 8 [" + w + " 0 0 -" + h + " 0 " + h + "]\n"
        "{currentfile korvanrow readhexstring pop} image\n";
    const std::string trailer =
        "\nrestore\n"
        "showpage\n"
        "%%Trailer\n"
        "%%EOF\n";

    ByteWriter out(sink);
    out.Bytes(header.data(), header.size());
    static constexpr char kHex[] = "0123456789abcdef";
    std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.Width()) * 3);
    std::string line;
    size_t column = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        ReadRgbRow(bitmap, y, rgb.data());
        for (int x = 0; x < bitmap.Width(); ++x) {
            uint8_t v = Luma(rgb[size_t(x) * 3], rgb[size_t(x) * 3 + 1], rgb[size_t(x) * 3 + 2]);
            line.push_back(kHex[v >> 4]);
            line.push_back(kHex[v & 15]);
            column += 2;
            if (column >= kHexPerLine) {
                line.push_back('\n');
                column = 0;
            }
            if (line.size() >= 1 << 16) {
                out.Bytes(line.data(), line.size());
                line.clear();
            }
        }
    }
    out.Bytes(line.data(), line.size());
    out.Bytes(trailer.data(), trailer.size());
    return out.Flush() ? kSuccess : kErrorWriting;
}

} // namespace korvan::imaging
