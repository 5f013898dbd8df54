#ifndef DENDRINE_TESTS_FUZZ_FUZZ_HOST_H
#define DENDRINE_TESTS_FUZZ_FUZZ_HOST_H
// What every fuzz target needs around the plug-in: the host with Dendrine
// loaded in-process, the plug-in's chatter silenced, a private work folder,
// and a way to stop loudly when an input breaks an invariant.

#include <dghost/Host.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzhost {

// Loads the linked-in plug-in, mutes std::cout/std::cerr and host messages
// and makes the work folder. Safe to call more than once.
void start();

// A file name inside this process's work folder (removed at exit).
std::string workPath(const std::string& name);

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string readBytes(const std::string& path);

// Runs a command given as words: words that start with '-' are flags, all
// others are passed quoted, so paths need no escaping.
dghost::CommandOutcome run(const std::string& command, const std::vector<std::string>& words);

// Prints why the input broke an invariant and aborts, which makes libFuzzer
// keep the input and the replay test fail.
[[noreturn]] void fail(const std::string& why);

}  // namespace fuzzhost

#endif
