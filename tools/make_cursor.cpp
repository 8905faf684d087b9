// Builds a Windows cursor file (.cur) from a text drawing.
//
//     make_cursor <drawing.txt> <out.cur>
//
// The drawing holds an optional comment block ('#' lines before the picture),
// a line "hotspot X Y", then 32 rows of 32 characters: '#' black, 'o' white,
// '.' transparent. The cursor is stored as one 32 x 32 image, 32 bits per
// pixel with its AND mask, so any cursor reader shows it with soft edges.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;

void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(v & 0xff);
    out.push_back(v >> 8);
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((v >> (8 * i)) & 0xff);
}

struct Drawing {
    int hotX = 0;
    int hotY = 0;
    std::vector<std::string> rows;
};

bool readDrawing(const char* path, Drawing& drawing)
{
    std::ifstream in(path);
    if (!in) {
        std::cerr << "make_cursor: cannot open " << path << "\n";
        return false;
    }
    std::string line;
    bool inPicture = false;
    while (std::getline(in, line)) {
        if (!inPicture && line.rfind("hotspot", 0) == 0) {
            std::istringstream(line.substr(7)) >> drawing.hotX >> drawing.hotY;
            inPicture = true;
        } else if (inPicture && !line.empty()) {
            drawing.rows.push_back(line);
        }
    }
    if (drawing.rows.size() != kSize) {
        std::cerr << "make_cursor: the drawing must have " << kSize << " rows\n";
        return false;
    }
    for (const auto& row : drawing.rows) {
        if (row.size() != kSize) {
            std::cerr << "make_cursor: every row must have " << kSize << " characters\n";
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> encodeCursor(const Drawing& drawing)
{
    const uint32_t pixelBytes = kSize * kSize * 4;
    const uint32_t maskBytes = kSize * (kSize / 8);
    const uint32_t imageBytes = 40 + pixelBytes + maskBytes;

    std::vector<uint8_t> out;
    // Directory: reserved, type 2 (cursor), one image.
    put16(out, 0);
    put16(out, 2);
    put16(out, 1);
    // Directory entry: size, colours, reserved, hot spot, data size, offset.
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);
    out.push_back(0);
    put16(out, drawing.hotX);
    put16(out, drawing.hotY);
    put32(out, imageBytes);
    put32(out, 22);
    // Bitmap header; the height counts the colour image and the mask.
    put32(out, 40);
    put32(out, kSize);
    put32(out, kSize * 2);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, pixelBytes + maskBytes);
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    // Colour image, bottom row first, as blue, green, red, alpha.
    for (int y = kSize - 1; y >= 0; --y) {
        for (char c : drawing.rows[y]) {
            const uint8_t shade = c == 'o' ? 0xff : 0x00;
            const uint8_t alpha = c == '.' ? 0x00 : 0xff;
            out.insert(out.end(), {shade, shade, shade, alpha});
        }
    }
    // AND mask, bottom row first: a set bit leaves the screen showing.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int byte = 0; byte < kSize / 8; ++byte) {
            uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (drawing.rows[y][byte * 8 + bit] == '.')
                    bits |= 0x80 >> bit;
            out.push_back(bits);
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_cursor <drawing.txt> <out.cur>\n";
        return 2;
    }
    Drawing drawing;
    if (!readDrawing(argv[1], drawing))
        return 1;
    const std::vector<uint8_t> bytes = encodeCursor(drawing);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "make_cursor: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
