#include "WavFile.h"

#include <cstdint>
#include <fstream>

namespace tx::test {

namespace {

void put16(std::ofstream& out, std::uint16_t value) {
  const char bytes[2] = {static_cast<char>(value & 0xff), static_cast<char>(value >> 8)};
  out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t value) {
  put16(out, static_cast<std::uint16_t>(value & 0xffff));
  put16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

bool writeWav(const std::string& file_path, int sample_count, int sample_rate,
              unsigned int claimed_data_bytes) {
  std::ofstream out(file_path, std::ios::binary);
  if (!out) return false;
  const std::uint32_t data_bytes =
      claimed_data_bytes != 0 ? claimed_data_bytes : static_cast<std::uint32_t>(sample_count) * 2u;
  out.write("RIFF", 4);
  put32(out, 36u + data_bytes);
  out.write("WAVE", 4);
  out.write("fmt ", 4);
  put32(out, 16u);  // chunk size
  put16(out, 1u);   // PCM
  put16(out, 1u);   // mono
  put32(out, static_cast<std::uint32_t>(sample_rate));
  put32(out, static_cast<std::uint32_t>(sample_rate) * 2u);  // bytes per second
  put16(out, 2u);                                            // bytes per frame
  put16(out, 16u);                                           // bits per sample
  out.write("data", 4);
  put32(out, data_bytes);
  for (int i = 0; i < sample_count; i++) {
    put16(out, static_cast<std::uint16_t>((i / 50) % 2 == 0 ? 1000 : -1000));
  }
  return static_cast<bool>(out);
}

}  // namespace tx::test
