// Runs a picture fuzz entry without a fuzzing engine: over the committed
// pictures of its format, each of which must decode, and over a fixed
// series of pseudo-random mutations of them (bit flips, numbers of either
// byte order overwritten or nudged, truncations, insertions, deletions,
// copied ranges), so every build checks the decoder against damaged files.
//
//   picture_<format>_fuzz_driver PICTURES_DIR MUTATIONS SUFFIX...

#include "picture_fuzz.h"
#include "fuzz_mutations.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using fuzzing::Bytes;

// This driver's own series.
struct Random : fuzzing::Random {
    Random() : fuzzing::Random{0x9C7E'5EED'0F'D1C7ull} {}
};

// Writes the low `width` bytes of v at `at`, little- or big-endian, as far
// as the picture reaches.
void putNumber(Bytes& b, std::size_t at, std::uint32_t v, int width, bool bigEndian)
{
    for (int i = 0; i < width && at + std::size_t(i) < b.size(); ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * (bigEndian ? width - 1 - i : i)));
}

std::uint32_t getNumber(const Bytes& b, std::size_t at, int width, bool bigEndian)
{
    std::uint32_t v = 0;
    for (int i = 0; i < width && at + std::size_t(i) < b.size(); ++i)
        v |= std::uint32_t(b[at + std::size_t(i)]) << (8 * (bigEndian ? width - 1 - i : i));
    return v;
}

void mutateOnce(Bytes& b, Random& rnd)
{
    // Sizes, counts and offsets that tend to matter: zero, one, the edges of
    // bytes, words and the limits, and the signs.
    static const std::uint32_t kInteresting[] = {0,    1,     2,     3,     4,      8,      12,    16,    0x7F,
                                                 0x80, 0xFF,  0x100, 0xFFF, 0x1000, 0x7FFF, 0x8000, 0xFFFF,
                                                 4096, 32767, 32768, 0x10000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
    if (b.empty()) {
        b.push_back(std::uint8_t(rnd.next()));
        return;
    }
    int width = rnd.below(2) ? 2 : 4;
    bool bigEndian = rnd.below(4) == 0; // PNG and JPEG numbers
    switch (rnd.below(8)) {
    case 0: // flip a bit
        b[rnd.below(b.size())] ^= std::uint8_t(1u << rnd.below(8));
        break;
    case 1: // a byte replaced
        b[rnd.below(b.size())] = std::uint8_t(kInteresting[rnd.below(std::size(kInteresting))]);
        break;
    case 2: { // a number nudged: sizes and offsets off by a little
        std::size_t at = rnd.below(b.size());
        std::int32_t delta = std::int32_t(rnd.below(17)) - 8;
        putNumber(b, at, getNumber(b, at, width, bigEndian) + std::uint32_t(delta), width, bigEndian);
        break;
    }
    case 3: // a number replaced
        putNumber(b, rnd.below(b.size()), kInteresting[rnd.below(std::size(kInteresting))], width, bigEndian);
        break;
    case 4: // truncated
        b.resize(rnd.below(b.size() + 1));
        break;
    case 5: // bytes inserted
        fuzzing::InsertRandomBytes(b, rnd);
        break;
    case 6: // a range deleted
        fuzzing::DeleteRandomRange(b, rnd);
        break;
    default: // a range copied over another place
        fuzzing::CopyRandomRange(b, rnd);
        break;
    }
}

std::vector<Bytes> seeds(const std::filesystem::path& dir, const std::vector<std::string>& suffixes)
{
    std::vector<std::filesystem::path> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        if (std::find(suffixes.begin(), suffixes.end(), entry.path().extension().string()) != suffixes.end())
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end()); // the same order, so the same series, everywhere
    std::vector<Bytes> out;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PICTURES_DIR MUTATIONS SUFFIX...\n", argv[0]);
        return 2;
    }
    std::size_t mutations = std::strtoull(argv[2], nullptr, 10);
    std::vector<Bytes> inputs = seeds(argv[1], std::vector<std::string>(argv + 3, argv + argc));
    if (inputs.empty()) {
        std::fprintf(stderr, "no pictures in %s\n", argv[1]);
        return 1;
    }
    for (const Bytes& s : inputs)
        if (!picturefuzz::DecodeAndCheck(s)) {
            std::fprintf(stderr, "a committed picture does not decode\n");
            return 1;
        }
    Random rnd;
    std::size_t decoded = 0;
    for (std::size_t i = 0; i < mutations; ++i) {
        Bytes b = inputs[rnd.below(inputs.size())];
        for (std::size_t k = 1 + rnd.below(4); k > 0; --k)
            mutateOnce(b, rnd);
        decoded += picturefuzz::DecodeAndCheck(b);
    }
    std::printf("%zu pictures, %zu mutations, %zu of them still decoded\n", inputs.size(), mutations, decoded);
    return 0;
}
