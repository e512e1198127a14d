// Reading a packed device-independent bitmap (the header, the colour table,
// then the rows bottom-up), as the skin is stored. A BMP file's 14-byte file
// header in front is skipped. Every number is read byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct DibImage {
    int nWidth = 0;
    int nHeight = 0;
    int nBitCount = 0;
    // The palette made from the colour table (0xFFRRGGBB), empty for images
    // of more than 8 bits per pixel.
    std::vector<std::uint32_t> palette;
    // Pixels as 0xFFRRGGBB, top row first.
    std::vector<std::uint32_t> pixels;
};

// Number of palette entries: biClrUsed, or 2^biBitCount when that is 0, for
// up to 8 bits per pixel; 0 above.
int DibPaletteEntries(int nBitCount, std::uint32_t dwClrUsed);

// Uncompressed 1, 4, 8, 24 and 32 bits per pixel; nothing for anything else
// or for data too short for what the header promises.
std::optional<DibImage> ReadPackedDib(const unsigned char* lpData, std::size_t nSize);
