#include "audio/riff.h"

#include "platform/files/regularfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

std::uint32_t ReadLE(const unsigned char* p, unsigned n, std::uint32_t keep) {
    for (unsigned i = 0; i < n && i < 4; ++i)
        keep = (keep & ~(0xFFu << 8 * i)) | std::uint32_t{p[i]} << 8 * i;
    return keep;
}

void WriteLE(unsigned char* p, std::uint32_t v, unsigned n) {
    for (unsigned i = 0; i < n; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::FILE* OpenSoundFile(const char* path, std::uint64_t* size) {
    if (path == nullptr)
        return nullptr;
    // Only a regular file: a named pipe would hold the window until someone
    // writes to it, and a folder opens for reading on Linux.
    const int fd = OpenRegularFile(path);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    std::FILE* fp = fstat(fd, &st) == 0 ? fdopen(fd, "rb") : nullptr;
    if (fp == nullptr) {
        close(fd);
        return nullptr;
    }
    *size = static_cast<std::uint64_t>(st.st_size);
    return fp;
}

bool RiffFile::Open(const char* path) {
    Close();
    std::uint64_t size = 0;
    std::FILE* fp = OpenSoundFile(path, &size);
    if (fp == nullptr)
        return false;
    fp_ = fp;
    pos_ = 0;
    size_ = size;
    return true;
}

std::uint64_t DataChunkBytes(const RiffFile& file, const MMCKINFO& riff, const MMCKINFO& data) {
    const std::uint64_t size = file.FileSize();
    const std::uint64_t present = size > data.dwDataOffset ? size - data.dwDataOffset : 0;
    if (data.cksize != 0)
        return std::min<std::uint64_t>(data.cksize, present);
    const std::uint64_t riffEnd = riff.dwDataOffset - 4 + riff.cksize;
    const bool honest = !(riff.dwFlags & MMIO_SIZELESS) && (riffEnd == size || riffEnd + 1 == size);
    return honest ? 0 : present;
}

void RiffFile::Close() {
    if (fp_ != nullptr)
        std::fclose(fp_);
    fp_ = nullptr;
    pos_ = 0;
    size_ = 0;
}

bool RiffFile::SeekTo(std::uint64_t pos) {
    if (fp_ == nullptr || pos > size_)
        return false;
    if (fseeko(fp_, static_cast<off_t>(pos), SEEK_SET) != 0)
        return false;
    pos_ = pos;
    return true;
}

std::uint32_t RiffFile::Read(void* pch, std::uint32_t cch) {
    if (fp_ == nullptr || cch == 0)
        return 0;
    const std::size_t got = std::fread(pch, 1, cch, fp_);
    pos_ += got;
    return static_cast<std::uint32_t>(got);
}

bool RiffFile::ReadHeader(FOURCC* id, std::uint32_t* size) {
    unsigned char hdr[8];
    if (Read(hdr, 8) != 8)
        return false;
    *id = ReadLE(hdr, 4);
    *size = ReadLE(hdr + 4, 4);
    return true;
}

bool RiffFile::Descend(MMCKINFO* lpck, const MMCKINFO* lpckParent, unsigned flags) {
    if (fp_ == nullptr || lpck == nullptr)
        return false;
    std::uint64_t end = size_;
    if (lpckParent != nullptr) {
        const std::uint64_t parentEnd = lpckParent->dwDataOffset + lpckParent->cksize -
                                        (lpckParent->ckid == FOURCC_RIFF ? 4 : 0);
        if (parentEnd < end)
            end = parentEnd;
    }
    const FOURCC wantType = lpck->fccType;
    const FOURCC wantId = lpck->ckid;
    for (;;) {
        const std::uint64_t start = pos_;
        if (start + 8 > end)
            return false;
        FOURCC id = 0;
        std::uint32_t size = 0;
        if (!ReadHeader(&id, &size))
            return false;
        bool match = true;
        FOURCC type = 0;
        // A RIFF size left 0 by a stream: the chunk runs to the end of the file.
        const bool sizeless = id == FOURCC_RIFF && size == 0;
        if (sizeless)
            size =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(end - start - 8, 0xFFFFFFFFu));
        if (flags & MMIO_FINDRIFF) {
            match = id == FOURCC_RIFF;
            if (match) {
                unsigned char t[4];
                if (size < 4 || Read(t, 4) != 4)
                    return false;
                type = ReadLE(t, 4);
                match = wantType == 0 || type == wantType;
            }
        } else if (flags & MMIO_FINDCHUNK) {
            match = id == wantId;
        }
        if (match) {
            lpck->ckid = id;
            lpck->cksize = size;
            lpck->fccType = type;
            lpck->dwDataOffset = start + 8 + (id == FOURCC_RIFF ? 4 : 0);
            lpck->dwFlags = sizeless ? MMIO_SIZELESS : 0;
            return SeekTo(lpck->dwDataOffset);
        }
        const std::uint64_t next = start + 8 + size + (size & 1u);
        if (next > end || !SeekTo(next))
            return false;
    }
}

bool RiffFile::Ascend(const MMCKINFO* lpck) {
    if (fp_ == nullptr || lpck == nullptr)
        return false;
    std::uint64_t dataStart = lpck->dwDataOffset;
    std::uint64_t len = lpck->cksize;
    if (lpck->ckid == FOURCC_RIFF) {
        // dwDataOffset is past the form type, which the size counts.
        dataStart -= 4;
    }
    std::uint64_t next = dataStart + len + (len & 1u);
    if (next > size_)
        next = size_;
    return SeekTo(next);
}
