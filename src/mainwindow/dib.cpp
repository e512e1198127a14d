#include "mainwindow/dib.h"

namespace {
std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Rgb(const unsigned char* bgr) {
    return 0xFF000000u | static_cast<std::uint32_t>(bgr[2]) << 16 |
           static_cast<std::uint32_t>(bgr[1]) << 8 | bgr[0];
}
constexpr std::int64_t nMaxSide = 16384;
} // namespace

int DibPaletteEntries(int nBitCount, std::uint32_t dwClrUsed) {
    if (nBitCount > 8 || nBitCount <= 0)
        return 0;
    const std::uint32_t nMax = 1u << nBitCount;
    return static_cast<int>(dwClrUsed == 0 || dwClrUsed > nMax ? nMax : dwClrUsed);
}

std::optional<DibImage> ReadPackedDib(const unsigned char* lpData, std::size_t nSize) {
    if (nSize >= 14 && lpData[0] == 'B' && lpData[1] == 'M') {
        lpData += 14;
        nSize -= 14;
    }
    if (nSize < 40)
        return std::nullopt;
    const std::uint32_t biSize = U32(lpData);
    const auto biWidth = static_cast<std::int32_t>(U32(lpData + 4));
    const auto biHeight = static_cast<std::int32_t>(U32(lpData + 8));
    const int biBitCount = U16(lpData + 14);
    const std::uint32_t biCompression = U32(lpData + 16);
    const std::uint32_t biClrUsed = U32(lpData + 32);
    if (biSize < 40 || biSize > nSize || biCompression != 0 || biWidth <= 0 || biHeight == 0 ||
        biWidth > nMaxSide || biHeight > nMaxSide || biHeight < -nMaxSide)
        return std::nullopt;
    if (biBitCount != 1 && biBitCount != 4 && biBitCount != 8 && biBitCount != 24 &&
        biBitCount != 32)
        return std::nullopt;

    DibImage image;
    image.nWidth = biWidth;
    image.nHeight = biHeight < 0 ? -biHeight : biHeight;
    image.nBitCount = biBitCount;
    const int nColors = DibPaletteEntries(biBitCount, biClrUsed);
    const std::size_t nBitsOffset = biSize + 4u * static_cast<std::size_t>(nColors);
    const std::size_t nStride =
        ((static_cast<std::size_t>(biWidth) * static_cast<std::size_t>(biBitCount) + 31) / 32) * 4;
    if (nBitsOffset > nSize ||
        (nSize - nBitsOffset) / nStride < static_cast<std::size_t>(image.nHeight))
        return std::nullopt;
    for (int i = 0; i < nColors; ++i)
        image.palette.push_back(Rgb(lpData + biSize + 4 * static_cast<std::size_t>(i)));

    image.pixels.resize(static_cast<std::size_t>(image.nWidth) * image.nHeight);
    for (int y = 0; y < image.nHeight; ++y) {
        const int nSourceRow = biHeight < 0 ? y : image.nHeight - 1 - y;
        const unsigned char* row =
            lpData + nBitsOffset + nStride * static_cast<std::size_t>(nSourceRow);
        for (int x = 0; x < image.nWidth; ++x) {
            std::uint32_t argb = 0xFF000000u;
            if (biBitCount <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * biBitCount;
                const unsigned byte = row[bit / 8];
                const unsigned shift = 8 - biBitCount - static_cast<unsigned>(bit % 8);
                const unsigned index = (byte >> shift) & ((1u << biBitCount) - 1);
                // An index past the colour table shows black.
                if (index < image.palette.size())
                    argb = image.palette[index];
            } else {
                argb = Rgb(row + static_cast<std::size_t>(x) * (biBitCount / 8));
            }
            image.pixels[static_cast<std::size_t>(y) * image.nWidth + x] = argb;
        }
    }
    return image;
}
