// A small RIFF chunk reader: open a file, enter the outer RIFF chunk, find a
// sub-chunk by id from the current position, read, and leave a chunk past its
// data and pad byte. Every number is read little-endian byte by byte.
#pragma once

#include <cstdint>
#include <cstdio>

using FOURCC = std::uint32_t;

constexpr FOURCC MakeFourCC(char a, char b, char c, char d) {
    return static_cast<FOURCC>(static_cast<unsigned char>(a)) |
           static_cast<FOURCC>(static_cast<unsigned char>(b)) << 8 |
           static_cast<FOURCC>(static_cast<unsigned char>(c)) << 16 |
           static_cast<FOURCC>(static_cast<unsigned char>(d)) << 24;
}

constexpr FOURCC FOURCC_RIFF = MakeFourCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_WAVE = MakeFourCC('W', 'A', 'V', 'E');
constexpr FOURCC FOURCC_FMT = MakeFourCC('f', 'm', 't', ' ');
constexpr FOURCC FOURCC_DATA = MakeFourCC('d', 'a', 't', 'a');
constexpr FOURCC FOURCC_SMPL = MakeFourCC('s', 'm', 'p', 'l');

// One chunk as found in the file. dwDataOffset is the file offset of its first
// data byte; for a RIFF chunk, fccType is the form type and the data begins
// after it.
struct MMCKINFO {
    FOURCC ckid = 0;
    std::uint32_t cksize = 0;
    FOURCC fccType = 0;
    std::uint64_t dwDataOffset = 0;
    std::uint32_t dwFlags = 0;
};

// MMCKINFO::dwFlags of a chunk whose size was left 0 by a stream and is
// taken to run to the end of the file.
constexpr std::uint32_t MMIO_SIZELESS = 0x1;

enum : unsigned {
    MMIO_FINDCHUNK = 0x0010, // find a chunk with the given ckid
    MMIO_FINDRIFF = 0x0020,  // find a "RIFF" chunk (with the given form type if not 0)
};

// Opens a sound file for reading, or nullptr when it cannot be opened or is
// no regular file; *size receives its size. Every reader of sound files opens
// them here.
std::FILE* OpenSoundFile(const char* path, std::uint64_t* size);

// The file is open from Open until Close or destruction.
class RiffFile {
public:
    RiffFile() = default;
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;
    ~RiffFile() { Close(); }

    bool Open(const char* path);
    void Close();

    // Reads chunk headers from the current position and stops on the first
    // that matches: with MMIO_FINDRIFF a "RIFF" chunk (and lpck->fccType when
    // it is not 0), with MMIO_FINDCHUNK a chunk of id lpck->ckid, with neither
    // flag whatever chunk comes next. Other chunks are skipped by their size
    // and pad. The search fails at the end of the parent (when given) or of the
    // file. On success the position is the chunk's first data byte (after the
    // form type for a RIFF chunk).
    bool Descend(MMCKINFO* lpck, const MMCKINFO* lpckParent, unsigned flags);

    // Descend with MMIO_FINDCHUNK for a chunk of id ckid, over a cleared *lpck.
    bool FindChunk(MMCKINFO* lpck, const MMCKINFO* lpckParent, FOURCC ckid) {
        *lpck = MMCKINFO{};
        lpck->ckid = ckid;
        return Descend(lpck, lpckParent, MMIO_FINDCHUNK);
    }

    // Moves past the data and pad byte of a chunk found by Descend.
    bool Ascend(const MMCKINFO* lpck);

    // Reads up to cch bytes from the current position; returns the count
    // read, which is short at the end of the file or on an error.
    std::uint32_t Read(void* pch, std::uint32_t cch);

    std::uint64_t Tell() const { return pos_; }
    std::uint64_t FileSize() const { return size_; }

private:
    bool SeekTo(std::uint64_t pos);
    bool ReadHeader(FOURCC* id, std::uint32_t* size);

    std::FILE* fp_ = nullptr;
    std::uint64_t pos_ = 0;
    std::uint64_t size_ = 0;
};

// The bytes of sample data a "data" chunk of the RIFF chunk riff really
// holds. A file written to a pipe cannot go back to mend its sizes: it
// declares more than it holds (0xFFFFFFFF) or nothing (0), and its data runs
// to the end of the file. So a size past the end counts only the bytes
// present, and a size of 0 in a RIFF chunk that does not end at the end of
// the file counts the data to the end.
std::uint64_t DataChunkBytes(const RiffFile& file, const MMCKINFO& riff, const MMCKINFO& data);

// The little-endian number in the n bytes at p (at most 4), read byte by
// byte. Fewer bytes than a field has replace only its low bytes; the others
// keep those of `keep`, as a copy of the bytes over the field would.
std::uint32_t ReadLE(const unsigned char* p, unsigned n, std::uint32_t keep = 0);
// Writes the low n bytes of v at p, least significant first.
void WriteLE(unsigned char* p, std::uint32_t v, unsigned n);
