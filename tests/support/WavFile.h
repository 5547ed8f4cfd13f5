#pragma once

#include <string>

namespace tx::test {

// Writes a short 16-bit mono PCM WAV file (a quiet square wave) for audio tests. A non-zero
// claimed_data_bytes is written into the header in place of the true data size, making a file
// that lies about its length. False when the file cannot be written.
bool writeWav(const std::string& file_path, int sample_count = 4410, int sample_rate = 44100,
              unsigned int claimed_data_bytes = 0);

}  // namespace tx::test
