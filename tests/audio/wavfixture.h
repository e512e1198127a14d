// Builds RIFF files byte by byte for the audio tests.
#pragma once

#include "common/testutil.h"

#include <cstdint>

namespace fixture {
using namespace testutil;
using Bytes = std::vector<unsigned char>;

inline void Put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<unsigned char>(v >> 8 * i));
}

// One chunk with its pad byte; declared overrides the size field.
inline Bytes Chunk(const char* id, const Bytes& data, std::int64_t declared = -1) {
    Bytes b(id, id + 4);
    Put(b, static_cast<std::uint32_t>(declared < 0 ? std::int64_t(data.size()) : declared), 4);
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1)
        b.push_back(0);
    return b;
}

// A format chunk's body; extra > 0 adds cbSize and extra - 2 further bytes.
inline Bytes Fmt(std::uint16_t tag, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
                 unsigned extra = 0) {
    const unsigned align = ch * (bits / 8u);
    Bytes b;
    for (std::uint32_t v : {tag | std::uint32_t{ch} << 16, rate, rate * align, align | bits << 16u})
        Put(b, v, 4);
    Put(b, extra - 2, extra > 0 ? 2 : 0);
    for (unsigned i = 2; i < extra; ++i)
        b.push_back(static_cast<unsigned char>(0xA0 + i));
    return b;
}

inline Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE") {
    Bytes body(form, form + 4);
    for (const auto& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

inline Bytes Wav(std::uint16_t tag, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
                 const Bytes& data) {
    return Riff({Chunk("fmt ", Fmt(tag, ch, rate, bits)), Chunk("data", data)});
}

// Deterministic, non-repeating sample bytes (a simple LCG).
inline Bytes Noise(std::size_t n, std::uint32_t seed = 1) {
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<unsigned char>((seed = seed * 1664525u + 1013904223u) >> 24);
    return b;
}

inline void WriteBytes(const std::string& path, const Bytes& b) {
    WriteFile(path, std::string(b.begin(), b.end()));
}
inline Bytes ReadBytes(const std::string& path) {
    const std::string s = ReadFile(path);
    return {s.begin(), s.end()};
}
} // namespace fixture
