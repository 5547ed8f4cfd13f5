// One libFuzzer target; TOLVEX_FUZZ_ENTRY names the entry point of FuzzEntries.h it drives.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzEntries.h"

namespace {

// A private directory for the log, the configuration and the scratch file of this process.
std::string makeScratchDir() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tolvex-fuzz-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return pattern;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string dir = makeScratchDir();
  const std::string config = dir + "/tx-config.txt";
  FILE* out = std::fopen(config.c_str(), "w");
  if (out == nullptr) std::exit(1);
  std::fputs("headless:true,\nrandom_seed:1,\n", out);
  std::fclose(out);
  setenv("TOLVEX_CONFIG", config.c_str(), 1);
  // Every rejected input writes its error lines; nobody reads them here.
  if (std::getenv("TOLVEX_FUZZ_LOG") == nullptr)
    setenv("TOLVEX_LOG", "/dev/null", 1);
  else
    setenv("TOLVEX_LOG", std::getenv("TOLVEX_FUZZ_LOG"), 1);
  if (tx::fuzz::startEngine(dir) != 0) {
    std::fprintf(stderr, "tolvex fuzz: engine did not start\n");
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tx::fuzz::TOLVEX_FUZZ_ENTRY(data, size);
}
