// Runs the tip markup fuzz entry without a fuzzing engine: over the seed
// texts and a fixed series of pseudo-random mutations of them that favour
// what the markup is made of (tags, entities, line breaks, GBK
// characters), so every build checks the parser and the layout against
// damaged text.
//
//   tip_markup_fuzz_driver CORPUS_DIR [MUTATIONS]

#include "fuzz_random.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

// This driver's own series.
struct Random : fuzzing::Random {
    Random() : fuzzing::Random{0x7119'4A4B'0F5E'ED01ull} {}
};

constexpr std::string_view kPieces[] = {
    "<", ">", "</", "<b>", "</b>", "<I>", "<color=", "<c=red>", "</color>", "<br>", "<p>", "<backcolor=",
    "<bordercolor=-1>", "=", "-1", "4294967295", "&lt;", "&gt;", "&-lt;", "&-gt;", "&", "&-", "\r\n", "\n", "\r",
    "<!br!>", "\xB0\xA1", "\xB0", " ",
};

void mutateOnce(Bytes& b, Random& rnd)
{
    switch (rnd.below(6)) {
    case 0: // a piece of markup inserted
    case 1: {
        std::string_view piece = kPieces[rnd.below(std::size(kPieces))];
        b.insert(b.begin() + std::ptrdiff_t(rnd.below(b.size() + 1)), piece.begin(), piece.end());
        break;
    }
    case 2: // a byte changed
        if (!b.empty())
            b[rnd.below(b.size())] = std::uint8_t(rnd.next());
        break;
    case 3: // truncated
        b.resize(rnd.below(b.size() + 1));
        break;
    case 4: { // a range removed
        std::size_t at = rnd.below(b.size() + 1);
        std::size_t n = std::min(b.size() - at, 1 + rnd.below(6));
        b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
        break;
    }
    default: { // a range repeated, for long lines and many tags
        if (b.size() < 2)
            break;
        std::size_t at = rnd.below(b.size());
        std::size_t n = std::min(b.size() - at, 1 + rnd.below(32));
        Bytes copy(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
        for (std::size_t times = 1 + rnd.below(8); times > 0; --times)
            b.insert(b.begin() + std::ptrdiff_t(rnd.below(b.size() + 1)), copy.begin(), copy.end());
        break;
    }
    }
    if (b.size() > 1 << 16)
        b.resize(1 << 16);
}

void run(const Bytes& b)
{
    LLVMFuzzerTestOneInput(b.data(), b.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS]\n", argv[0]);
        return 2;
    }
    std::vector<Bytes> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 2;
    }
    long mutations = argc > 2 ? std::atol(argv[2]) : 100000;
    for (const Bytes& s : seeds)
        run(s);
    Random rnd;
    for (long i = 0; i < mutations; ++i) {
        Bytes b = seeds[rnd.below(seeds.size())];
        for (std::size_t n = 1 + rnd.below(4); n > 0; --n)
            mutateOnce(b, rnd);
        run(b);
    }
    std::printf("tip markup fuzz: %zu seeds, %ld mutations\n", seeds.size(), mutations);
    return 0;
}
