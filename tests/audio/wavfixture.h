// Builds RIFF files byte by byte for the audio tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fixture {

using Bytes = std::vector<unsigned char>;

inline void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutId(Bytes& b, const char* id) {
    b.insert(b.end(), id, id + 4);
}

// One chunk with its pad byte; declared overrides the size field.
inline Bytes Chunk(const char* id, const Bytes& data, std::int64_t declared = -1) {
    Bytes b;
    PutId(b, id);
    Put32(b, declared < 0 ? static_cast<std::uint32_t>(data.size())
                          : static_cast<std::uint32_t>(declared));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1)
        b.push_back(0);
    return b;
}

inline Bytes Fmt(std::uint16_t tag, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
                 unsigned extra = 0) {
    Bytes b;
    const std::uint16_t align = static_cast<std::uint16_t>(ch * (bits / 8));
    Put16(b, tag);
    Put16(b, ch);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    if (extra > 0) {
        Put16(b, extra - 2);
        for (unsigned i = 2; i < extra; ++i)
            b.push_back(static_cast<unsigned char>(0xA0 + i));
    }
    return b;
}

inline Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE") {
    Bytes body;
    PutId(body, form);
    for (const auto& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

// A plain WAV file: "fmt " then "data".
inline Bytes Wav(std::uint16_t tag, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
                 const Bytes& data) {
    return Riff({Chunk("fmt ", Fmt(tag, ch, rate, bits)), Chunk("data", data)});
}

// Deterministic, non-repeating sample bytes (a simple LCG).
inline Bytes Noise(std::size_t n, std::uint32_t seed = 1) {
    Bytes b(n);
    for (auto& x : b) {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<unsigned char>(seed >> 24);
    }
    return b;
}

inline void WriteFile(const std::filesystem::path& p, const Bytes& b) {
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (f == nullptr)
        return;
    if (!b.empty())
        std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

inline Bytes ReadFile(const std::filesystem::path& p) {
    Bytes b;
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (f == nullptr)
        return b;
    unsigned char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    return b;
}

// A private temporary folder, removed with the object.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tonsmith-audio.XXXXXX");
        path_ = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace fixture
