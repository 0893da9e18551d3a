#include "tests/imagepreview/TestImages.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include <jpeglib.h>
#include <png.h>

unsigned Quadrants(int x, int y, int width, int height) {
    bool right = x >= width / 2, bottom = y >= height / 2;
    if (!bottom)
        return right ? 0x00FF00 : 0xFF0000;
    return right ? 0xFFFFFF : 0x0000FF;
}

unsigned AlphaQuadrants(int x, int y, int width, int height) {
    bool right = x >= width / 2, bottom = y >= height / 2;
    return !bottom ? (right ? 0 : 255) : (right ? 255 : 128);
}

std::string TestJpegBytes(int width, int height, int components, PixelColour colour) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = NULL;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row((size_t)width * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (size_t i = 0; i < row.size(); i++) {
            unsigned c = colour((int)i / components, (int)cinfo.next_scanline, width, height);
            row[i] = i % components == 3 ? 0 : (unsigned char)(c >> (16 - 8 * (i % components)));
        }
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes((const char*)out, size);
    free(out);
    return bytes;
}

bool WriteTestJpeg(const std::string& path, int width, int height, int components, PixelColour colour) {
    return WriteWholeFile(path, TestJpegBytes(width, height, components, colour));
}

static unsigned Scale(unsigned byte, int depth) {
    return depth == 16 ? byte * 257 : byte >> (8 - depth);
}

static void AppendToString(png_structp png, png_bytep data, png_size_t n) {
    ((std::string*)png_get_io_ptr(png))->append((const char*)data, n);
}

static void FlushNothing(png_structp) {}

// The samples of every row, and the palette with its alphas in the order met.
static std::vector<std::vector<unsigned char>> PngSamples(int width, int height, int colorType, int bitDepth,
                                                          PixelColour colour, PixelColour alpha,
                                                          std::vector<unsigned>& entries) {
    std::vector<std::vector<unsigned char>> rows(height);
    for (int y = 0; y < height; y++) {
        // A sample a byte below 8 bits (libpng packs them), two bytes at 16.
        std::vector<unsigned char>& row = rows[y];
        auto add = [&](unsigned sample) {
            if (bitDepth == 16)
                row.push_back((unsigned char)(sample >> 8));
            row.push_back((unsigned char)sample);
        };
        for (int x = 0; x < width; x++) {
            unsigned c = colour(x, y, width, height), a = alpha ? alpha(x, y, width, height) & 0xFF : 0xFF;
            if (colorType == PNG_COLOR_TYPE_PALETTE) {
                unsigned entry = a << 24 | c;
                size_t i = std::find(entries.begin(), entries.end(), entry) - entries.begin();
                if (i == entries.size())
                    entries.push_back(entry);
                add((unsigned)i);
                continue;
            }
            if (colorType & PNG_COLOR_MASK_COLOR)
                for (int shift = 16; shift >= 0; shift -= 8)
                    add(Scale((c >> shift) & 0xFF, bitDepth));
            else
                add(Scale(c >> 16, bitDepth));
            if (colorType & PNG_COLOR_MASK_ALPHA)
                add(Scale(a, bitDepth));
        }
    }
    return rows;
}

std::string TestPngBytes(int width, int height, int colorType, int bitDepth, bool interlaced, PixelColour colour,
                         PixelColour alpha) {
    std::vector<unsigned> entries; // 0xAARRGGBB
    std::vector<std::vector<unsigned char>> samples =
        PngSamples(width, height, colorType, bitDepth, colour, alpha, entries);
    std::vector<png_bytep> rows;
    for (auto& row : samples)
        rows.push_back(row.data());
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "";
    }
    png_set_write_fn(png, &bytes, AppendToString, FlushNothing);
    png_set_IHDR(png, info, width, height, bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    png_byte alphas[256];
    bool clear = false;
    for (size_t i = 0; i < entries.size(); i++) {
        palette[i] = { (png_byte)(entries[i] >> 16), (png_byte)(entries[i] >> 8), (png_byte)entries[i] };
        alphas[i] = (png_byte)(entries[i] >> 24);
        clear = clear || alphas[i] != 0xFF;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, (int)entries.size());
    if (clear)
        png_set_tRNS(png, info, alphas, (int)entries.size(), NULL);
    png_write_info(png, info);
    if (bitDepth < 8)
        png_set_packing(png);
    if (interlaced)
        png_set_interlace_handling(png);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

std::string TestBmpBytes(int width, int height, PixelColour colour) {
    std::string rows;
    for (int y = height - 1; y >= 0; y--) {
        std::string row;
        for (int x = 0; x < width; x++)
            row += Le32(colour(x, y, width, height)).substr(0, 3);
        row.resize((row.size() + 3) / 4 * 4, '\0');
        rows += row;
    }
    return HandBmpBytes({ 24, 0, width, height, 0, "", rows });
}

bool DecodeThroughFile(const std::string& bytes, bool (*decode)(FILE*, PreviewImage&), PreviewImage& image) {
    const char* path = "test_images_decode.scratch";
    if (!WriteWholeFile(path, bytes))
        return false;
    FILE* f = fopen(path, "rb");
    bool ok = f && decode(f, image);
    if (f)
        fclose(f);
    remove(path);
    return ok;
}

unsigned BlockPixel(const PreviewImage& image, int x, int y) {
    int bytes = image.Block()[14] / 8;
    size_t rowLength = ((size_t)image.Width() * bytes + 3) / 4 * 4;
    const unsigned char* p = image.Rows() + (image.Height() - 1 - y) * rowLength + x * bytes;
    return (unsigned)p[2] << 16 | p[1] << 8 | p[0];
}

bool Near(unsigned a, unsigned b, int slack) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > slack)
            return false;
    }
    return true;
}

std::string Le16(unsigned v) {
    return { (char)v, (char)(v >> 8) };
}

std::string Le32(unsigned v) {
    return Le16(v) + Le16(v >> 16);
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

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}
