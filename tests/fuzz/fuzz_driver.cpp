// Runs the template block fuzz entry without a fuzzing engine: over the
// seed corpus, the samples, and a fixed series of pseudo-random mutations
// of them (bit flips, overwritten numbers, truncations, insertions,
// deletions), so every build checks the reader against damaged blocks.
//
//   template_block_fuzz_driver CORPUS_DIR [MUTATIONS]
//   template_block_fuzz_driver --write-corpus DIR

#include "template_samples.h"
#include "fuzz_mutations.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using fuzzing::Bytes;

// This driver's own series.
struct Random : fuzzing::Random {
    Random() : fuzzing::Random{0x5EED'0F'7E'3B1A7E5ull} {}
};

void putU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4 && at + std::size_t(i) < b.size(); ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

std::uint32_t getU32(const Bytes& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4 && at + std::size_t(i) < b.size(); ++i)
        v |= std::uint32_t(b[at + std::size_t(i)]) << (8 * i);
    return v;
}

void mutateOnce(Bytes& b, Random& rnd)
{
    static const std::uint32_t kInteresting[] = {0, 1, 4, 8, 12, 0x7F, 0xFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                                 0xFFFFFFFC, 0x00010003, 0x06000001, 0x26000001};
    switch (rnd.below(7)) {
    case 0: // flip a bit
        if (!b.empty())
            b[rnd.below(b.size())] ^= std::uint8_t(1u << rnd.below(8));
        break;
    case 1: // a number nudged: lengths, counts and offsets off by a little
        if (b.size() >= 4) {
            std::size_t at = rnd.below(b.size() / 4) * 4;
            std::int32_t delta = std::int32_t(rnd.below(17)) - 8;
            putU32(b, at, getU32(b, at) + std::uint32_t(delta));
        }
        break;
    case 2: // a number replaced by one that tends to matter
        if (b.size() >= 4)
            putU32(b, rnd.below(b.size() - 3), kInteresting[rnd.below(std::size(kInteresting))]);
        break;
    case 3: // truncated
        b.resize(rnd.below(b.size() + 1));
        break;
    case 4: // bytes inserted
        fuzzing::InsertRandomBytes(b, rnd);
        break;
    case 5: // a range deleted
        if (!b.empty())
            fuzzing::DeleteRandomRange(b, rnd);
        break;
    default: // a chunk of the block copied over another place
        if (b.size() >= 8)
            fuzzing::CopyRandomRange(b, rnd);
        break;
    }
}

std::vector<Bytes> seeds(const std::filesystem::path& corpus)
{
    std::vector<Bytes> out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(corpus, ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const templatetest::Sample& s : templatetest::Samples())
        out.push_back(ui::WriteTemplateBlock(s.windows));
    return out;
}

int writeCorpus(const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    for (const templatetest::Sample& s : templatetest::Samples()) {
        Bytes block = ui::WriteTemplateBlock(s.windows);
        std::ofstream out(dir / (s.name + ".bin"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size()));
        if (!out)
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--write-corpus")
        return writeCorpus(argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS] | --write-corpus DIR\n", argv[0]);
        return 2;
    }
    std::size_t mutations = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 300000;
    std::vector<Bytes> inputs = seeds(argv[1]);
    if (inputs.size() < 2 * templatetest::Samples().size()) {
        std::fprintf(stderr, "the seed corpus in %s is missing\n", argv[1]);
        return 1;
    }
    std::size_t accepted = 0;
    for (const Bytes& s : inputs) {
        if (!ui::ParseTemplateBlock(s).error.empty()) {
            std::fprintf(stderr, "a seed does not parse\n");
            return 1;
        }
        LLVMFuzzerTestOneInput(s.data(), s.size());
    }
    Random rnd;
    for (std::size_t i = 0; i < mutations; ++i) {
        Bytes b = inputs[rnd.below(inputs.size())];
        for (std::size_t k = 1 + rnd.below(4); k > 0; --k)
            mutateOnce(b, rnd);
        accepted += ui::ParseTemplateBlock(b).error.empty();
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    std::printf("%zu seeds, %zu mutations, %zu of them still valid blocks\n", inputs.size(), mutations, accepted);
    return 0;
}
