#pragma once

#include <string>

namespace tx::test {

// Writes a short 16-bit mono PCM WAV file (a quiet square wave) for audio tests. False when the
// file cannot be written.
bool writeWav(const std::string& file_path, int sample_count = 4410, int sample_rate = 44100);

}  // namespace tx::test
