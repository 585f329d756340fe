// Decode time of the window's pictures: every PNG named on the command line
// is decoded with DecodePngOpaque once per iteration. Builds natively (for
// callgrind) and for Windows (for the figure under Wine).
//   decode_bench <iterations> <png file>...
// Prints "decode_ms <ms>" for each iteration after one warm-up: the time to
// decode all the files once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/png_decoder.h"

namespace {

std::vector<uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Decodes every picture once; the sum of one pixel of each keeps the work
// from being optimised away.
uint32_t DecodeAll(const std::vector<std::vector<uint8_t>>& files) {
    uint32_t sum = 0;
    for (const std::vector<uint8_t>& png : files) sum += DecodePngOpaque(png.data(), png.size()).pixels.back();
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: decode_bench <iterations> <png file>...\n", stderr);
        return 2;
    }
    try {
        const int iterations = std::atoi(argv[1]);
        std::vector<std::vector<uint8_t>> files;
        for (int i = 2; i < argc; ++i) files.push_back(ReadFile(argv[i]));

        uint32_t sum = DecodeAll(files);
        for (int i = 0; i < iterations; ++i) {
            const auto start = std::chrono::steady_clock::now();
            sum += DecodeAll(files);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            std::printf("decode_ms %.4f\n", took.count());
        }
        std::fprintf(stderr, "checksum %08x\n", static_cast<unsigned>(sum));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
