#include "tests/imagepreview/TestImages.h"

#include <stdio.h>

#include <vector>

#include <jpeglib.h>

unsigned Quadrants(int x, int y, int width, int height) {
    bool right = x >= width / 2, bottom = y >= height / 2;
    if (!bottom)
        return right ? 0x00FF00 : 0xFF0000;
    return right ? 0xFFFFFF : 0x0000FF;
}

static void FillScanline(std::vector<unsigned char>& row, int y, int width, int height, int components,
                         PixelColour colour) {
    for (int x = 0; x < width; x++) {
        unsigned c = colour(x, y, width, height);
        unsigned char* p = &row[(size_t)x * components];
        if (components == 1) {
            p[0] = (unsigned char)(c >> 16);
        } else {
            p[0] = (unsigned char)(c >> 16);
            p[1] = (unsigned char)(c >> 8);
            p[2] = (unsigned char)c;
            if (components == 4)
                p[3] = 0;
        }
    }
}

bool WriteTestJpeg(const std::string& path, int width, int height, int components, PixelColour colour) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row((size_t)width * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        FillScanline(row, (int)cinfo.next_scanline, width, height, components, colour);
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return fclose(f) == 0;
}

std::string TestJpegBytes(int width, int height, int components, PixelColour colour) {
    const char* path = "test_images_scratch.jpg";
    if (!WriteTestJpeg(path, width, height, components, colour))
        return "";
    std::string bytes = ReadWholeFile(path);
    remove(path);
    return bytes;
}

static void Put32(std::string& s, unsigned v) {
    for (int i = 0; i < 4; i++)
        s += (char)(v >> (8 * i));
}

static void Put16(std::string& s, unsigned v) {
    s += (char)v;
    s += (char)(v >> 8);
}

std::string TestBmpBytes(int width, int height, PixelColour colour) {
    unsigned rowLength = (unsigned)(width * 3 + 3) / 4 * 4;
    unsigned image = rowLength * height;
    std::string s = "BM";
    Put32(s, 54 + image);
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, width);
    Put32(s, height);
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, 0);
    Put32(s, image);
    for (int i = 0; i < 4; i++)
        Put32(s, 0);
    for (int y = height - 1; y >= 0; y--) {
        std::string row;
        for (int x = 0; x < width; x++) {
            unsigned c = colour(x, y, width, height);
            row += (char)c;
            row += (char)(c >> 8);
            row += (char)(c >> 16);
        }
        row.resize(rowLength, '\0');
        s += row;
    }
    return s;
}

std::string Le16(unsigned v) {
    std::string s;
    Put16(s, v);
    return s;
}

std::string Le32(unsigned v) {
    std::string s;
    Put32(s, v);
    return s;
}

std::string PaletteEntry(unsigned rgb) {
    return Le32(rgb & 0xFFFFFF);
}

std::string HandBmpBytes(const BmpSpec& b) {
    std::string info = Le32(b.headerSize) + Le32(b.width) + Le32(b.height) + Le16(1) + Le16(b.bits) +
                       Le32(b.compression) + Le32((unsigned)b.rows.size()) + Le32(0) + Le32(0) + Le32(b.colours) +
                       Le32(0) + b.headerMasks;
    info.resize(b.headerSize, '\0');
    unsigned offset = 14 + b.headerSize + (unsigned)b.tables.size() + b.gap;
    std::string s = "BM" + Le32(offset + (unsigned)b.rows.size()) + Le32(0) + Le32(offset);
    return s + info + b.tables + std::string(b.gap, '\x55') + b.rows;
}

std::string ReadWholeFile(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return "";
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}
