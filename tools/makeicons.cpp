// Writes the program's icon files into resources/: the program icon in several sizes
// and the 16-colour window-pick cursor. Run after changing the pictures:
//   build/native/tools/makeicons resources
#include "app/ToolbarArt.h"
#include "imaging/ByteSink.h"

#include <cstdio>
#include <string>
#include <vector>

using korvan::imaging::ByteWriter;
using korvan::imaging::Rgb;
using korvan::imaging::Bitmap;
using korvan::imaging::VectorSink;

namespace {

struct IconEntry {
    int size;
    int bits;
    std::vector<uint8_t> data;  // BITMAPINFOHEADER, colours, XOR rows, AND rows
};

// The 16 colours of the standard VGA palette.
const Rgb kVga[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                      {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                      {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                      {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

int NearestVga(uint8_t r, uint8_t g, uint8_t b) {
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < 16; ++i) {
        int dr = kVga[i].r - r, dg = kVga[i].g - g, db = kVga[i].b - b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) { bestDistance = d; best = i; }
    }
    return best;
}

std::vector<uint8_t> AndMask(const Bitmap& image) {
    int stride = ((image.Width() + 31) / 32) * 4;
    std::vector<uint8_t> mask(static_cast<size_t>(stride * image.Height()), 0);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.Row(y)[4 * x + 3] < 128)
                mask[static_cast<size_t>((image.Height() - 1 - y) * stride + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return mask;
}

IconEntry Entry(const Bitmap& image, int bits) {
    VectorSink sink;
    {
        ByteWriter out(sink);
        out.U32LE(40);
        out.U32LE(static_cast<uint32_t>(image.Width()));
        out.U32LE(static_cast<uint32_t>(image.Height() * 2));
        out.U16LE(1);
        out.U16LE(static_cast<uint16_t>(bits));
        out.Zeros(24);
        if (bits == 4) {
            for (const Rgb& c : kVga) { out.U8(c.b); out.U8(c.g); out.U8(c.r); out.U8(0); }
            int stride = ((image.Width() * 4 + 31) / 32) * 4;
            for (int y = image.Height() - 1; y >= 0; --y) {
                std::vector<uint8_t> row(static_cast<size_t>(stride), 0);
                for (int x = 0; x < image.Width(); ++x) {
                    const uint8_t* p = image.Row(y) + 4 * x;
                    int index = p[3] < 128 ? 0 : NearestVga(p[2], p[1], p[0]);
                    row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
                }
                out.Bytes(row.data(), row.size());
            }
        } else {
            for (int y = image.Height() - 1; y >= 0; --y) out.Bytes(image.Row(y), static_cast<size_t>(image.Width() * 4));
        }
        std::vector<uint8_t> mask = AndMask(image);
        out.Bytes(mask.data(), mask.size());
        out.Flush();
    }
    return {image.Width(), bits, sink.bytes};
}

bool WriteIco(const std::string& path, const std::vector<IconEntry>& entries) {
    VectorSink sink;
    {
        ByteWriter out(sink);
        out.U16LE(0);
        out.U16LE(1);
        out.U16LE(static_cast<uint16_t>(entries.size()));
        uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
        for (const IconEntry& e : entries) {
            out.U8(static_cast<uint8_t>(e.size >= 256 ? 0 : e.size));
            out.U8(static_cast<uint8_t>(e.size >= 256 ? 0 : e.size));
            out.U8(e.bits == 4 ? 16 : 0);
            out.U8(0);
            out.U16LE(1);
            out.U16LE(static_cast<uint16_t>(e.bits));
            out.U32LE(static_cast<uint32_t>(e.data.size()));
            out.U32LE(offset);
            offset += static_cast<uint32_t>(e.data.size());
        }
        for (const IconEntry& e : entries) out.Bytes(e.data.data(), e.data.size());
        out.Flush();
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(sink.bytes.data(), 1, sink.bytes.size(), file) == sink.bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "resources";
    std::vector<IconEntry> program;
    for (int size : {16, 20, 24, 32, 40, 48, 64}) program.push_back(Entry(korvan::ProgramIconImage(size), 32));
    std::vector<IconEntry> pick{Entry(korvan::WindowPickImage(32), 4)};
    if (!WriteIco(folder + "/korvan.ico", program) || !WriteIco(folder + "/windowpick.ico", pick)) {
        std::fprintf(stderr, "makeicons: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
