// Replays kept fuzz inputs without libFuzzer: every file named on the
// command line, and every file inside each folder named there, goes once
// through the target's LLVMFuzzerTestOneInput. A broken invariant aborts
// (the test fails, naming the input first); otherwise the count is printed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsOf(const std::vector<std::string>& arguments)
{
    std::vector<fs::path> inputs;
    for (const std::string& argument : arguments) {
        if (!fs::is_directory(argument)) {
            inputs.push_back(argument);
            continue;
        }
        for (const auto& entry : fs::directory_iterator(argument))
            if (entry.is_regular_file() && entry.path().filename() != "README.md") inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<fs::path> inputs = inputsOf(std::vector<std::string>(argv + 1, argv + argc));
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "replaying %s\n", input.c_str());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
