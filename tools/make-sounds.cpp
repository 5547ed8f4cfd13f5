// Writes the game's sound effects and music loops as 22050 Hz mono 16-bit WAV files, built from
// square, triangle and noise voices with short envelopes, the way an old sound chip plays them.
// Usage: make-sounds [output directory]   (default "sounds")

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int SAMPLE_RATE = 22050;
constexpr double PI = 3.14159265358979323846;

enum class Wave { SQUARE, PULSE, TRIANGLE, NOISE, SINE };

// Samples in [-1, 1]; the writer clips and converts them to 16 bits.
using Buffer = std::vector<double>;

// Attack, decay to a sustain level, and release at the end of the note, in seconds; keeps
// every note free of clicks.
struct Envelope {
  double attack = 0.005;
  double decay = 0.08;
  double sustain = 0.6;
  double release = 0.03;
};

double envelopeAt(const Envelope& env, double t, double length) {
  double level = env.sustain;
  if (t < env.attack) {
    level = t / env.attack;
  } else if (t < env.attack + env.decay) {
    level = 1.0 - (1.0 - env.sustain) * (t - env.attack) / env.decay;
  }
  const double to_end = length - t;
  if (to_end < env.release) level *= std::max(0.0, to_end / env.release);
  return level;
}

// A 15-bit linear-feedback shift register, the noise channel of the old chips.
class Noise {
 public:
  double next() {
    const unsigned bit = (state ^ (state >> 1)) & 1u;
    state = (state >> 1) | (bit << 14);
    return (state & 1u) ? 1.0 : -1.0;
  }

 private:
  unsigned state = 1u;
};

double oscillator(Wave wave, double phase, Noise& noise) {
  const double p = phase - std::floor(phase);
  switch (wave) {
    case Wave::SQUARE:
      return p < 0.5 ? 1.0 : -1.0;
    case Wave::PULSE:
      return p < 0.25 ? 1.0 : -1.0;
    case Wave::TRIANGLE:
      return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    case Wave::SINE:
      return std::sin(2.0 * PI * p);
    case Wave::NOISE:
      return noise.next();
  }
  return 0.0;
}

// Adds one note whose frequency slides from f0 to f1 (exponentially) over its length.
void addTone(Buffer& out, double start, double length, double f0, double f1, Wave wave,
             double volume, const Envelope& env, double vibrato_hz = 0.0,
             double vibrato_depth = 0.0) {
  Noise noise;
  const int first = static_cast<int>(start * SAMPLE_RATE);
  const int count = static_cast<int>(length * SAMPLE_RATE);
  if (first + count > static_cast<int>(out.size())) out.resize(first + count, 0.0);
  double phase = 0.0;
  double noise_value = 0.0;
  double noise_phase = 0.0;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    double f = f0 * std::pow(f1 / f0, t / length);
    if (vibrato_hz > 0.0) f *= 1.0 + vibrato_depth * std::sin(2.0 * PI * vibrato_hz * t);
    double sample = 0.0;
    if (wave == Wave::NOISE) {
      // The noise register is clocked at the note's frequency, so higher notes hiss brighter.
      noise_phase += f / SAMPLE_RATE;
      while (noise_phase >= 1.0) {
        noise_value = noise.next();
        noise_phase -= 1.0;
      }
      sample = noise_value;
    } else {
      sample = oscillator(wave, phase, noise);
      phase += f / SAMPLE_RATE;
    }
    out[first + i] += sample * volume * envelopeAt(env, t, length);
  }
}

// Frequency of a note name such as "A4", "C#5" or "Bb3"; 0 for a rest ("R").
double noteFrequency(const std::string& name) {
  if (name.empty() || name[0] == 'R') return 0.0;
  static const int semitone_of[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  int semitone = semitone_of[name[0] - 'A'];
  std::size_t i = 1;
  if (i < name.size() && name[i] == '#') {
    ++semitone;
    ++i;
  }
  if (i < name.size() && name[i] == 'b') {
    --semitone;
    ++i;
  }
  const int octave = std::stoi(name.substr(i));
  const int midi = (octave + 1) * 12 + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Plays a line written as "note:beats note:beats ..." from beat 0; returns the beats used.
double addLine(Buffer& out, const std::string& line, double bpm, Wave wave, double volume,
               const Envelope& env, double gate = 0.9, double vibrato_depth = 0.0) {
  std::istringstream words(line);
  std::string word;
  double beat = 0.0;
  const double seconds_per_beat = 60.0 / bpm;
  while (words >> word) {
    const std::size_t colon = word.find(':');
    const std::string note = word.substr(0, colon);
    const double beats = std::stod(word.substr(colon + 1));
    const double f = noteFrequency(note);
    if (f > 0.0) {
      addTone(out, beat * seconds_per_beat, beats * seconds_per_beat * gate, f, f, wave, volume,
              env, vibrato_depth > 0.0 ? 5.5 : 0.0, vibrato_depth);
    }
    beat += beats;
  }
  return beat;
}

// A drum pattern, one character per sixteenth: k kick, s snare, h hi-hat, '.' silence.
void addDrums(Buffer& out, const std::string& pattern, int bars, double bpm, double volume) {
  const double sixteenth = 60.0 / bpm / 4.0;
  for (int bar = 0; bar < bars; ++bar) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      const double t = static_cast<double>(bar * pattern.size() + i) * sixteenth;
      switch (pattern[i]) {
        case 'k':
          addTone(out, t, 0.12, 160.0, 45.0, Wave::SINE, volume * 1.4, {0.001, 0.1, 0.0, 0.02});
          break;
        case 's':
          addTone(out, t, 0.10, 3000.0, 1500.0, Wave::NOISE, volume * 0.55,
                  {0.001, 0.09, 0.0, 0.01});
          addTone(out, t, 0.06, 220.0, 160.0, Wave::TRIANGLE, volume * 0.5,
                  {0.001, 0.05, 0.0, 0.01});
          break;
        case 'h':
          addTone(out, t, 0.03, 9000.0, 9000.0, Wave::NOISE, volume * 0.22,
                  {0.001, 0.025, 0.0, 0.005});
          break;
        default:
          break;
      }
    }
  }
}

int writeWav(const std::string& file_name, Buffer samples, double seconds) {
  samples.resize(static_cast<std::size_t>(seconds * SAMPLE_RATE), 0.0);
  std::ofstream file(file_name, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "make-sounds: cannot write '%s'\n", file_name.c_str());
    return -1;
  }
  auto put16 = [&file](std::uint16_t v) {
    file.put(static_cast<char>(v & 0xff)).put(static_cast<char>(v >> 8));
  };
  auto put32 = [&file](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.put(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  file.write("RIFF", 4);
  put32(36 + data_bytes);
  file.write("WAVEfmt ", 8);
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(SAMPLE_RATE);
  put32(SAMPLE_RATE * 2);
  put16(2);
  put16(16);
  file.write("data", 4);
  put32(data_bytes);
  for (double s : samples) {
    // Soft clipping keeps loud chords from wrapping around.
    const double clipped = std::tanh(s * 1.1);
    put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clipped * 30000.0))));
  }
  file.close();
  if (!file) {
    std::fprintf(stderr, "make-sounds: error writing '%s'\n", file_name.c_str());
    return -1;
  }
  std::printf("%s: %.1f s\n", file_name.c_str(), seconds);
  return 0;
}

// A short rising chirp.
Buffer jumpSound() {
  Buffer out;
  addTone(out, 0.0, 0.16, 260.0, 820.0, Wave::PULSE, 0.45, {0.002, 0.05, 0.5, 0.06});
  addTone(out, 0.0, 0.16, 520.0, 1640.0, Wave::TRIANGLE, 0.15, {0.002, 0.05, 0.4, 0.06});
  return out;
}

// A long wobbling slide down, ending in a thump.
Buffer fallSound() {
  Buffer out;
  addTone(out, 0.0, 0.85, 880.0, 110.0, Wave::SQUARE, 0.35, {0.005, 0.2, 0.7, 0.15}, 9.0, 0.04);
  addTone(out, 0.0, 0.85, 440.0, 55.0, Wave::TRIANGLE, 0.3, {0.005, 0.2, 0.7, 0.15}, 9.0, 0.04);
  addTone(out, 0.82, 0.22, 1200.0, 300.0, Wave::NOISE, 0.4, {0.001, 0.18, 0.0, 0.03});
  addTone(out, 0.82, 0.20, 120.0, 40.0, Wave::SINE, 0.6, {0.001, 0.18, 0.0, 0.02});
  return out;
}

// A bright rising arpeggio and a held chord: the game is on.
Buffer startupSound() {
  Buffer out;
  const char* notes[] = {"C5", "E5", "G5", "C6", "E6"};
  for (int i = 0; i < 5; ++i) {
    const double f = noteFrequency(notes[i]);
    addTone(out, i * 0.065, 0.1, f, f, Wave::PULSE, 0.35, {0.002, 0.04, 0.6, 0.03});
  }
  addTone(out, 0.33, 0.45, noteFrequency("C6"), noteFrequency("C6"), Wave::SQUARE, 0.25,
          {0.003, 0.1, 0.5, 0.25}, 6.0, 0.01);
  addTone(out, 0.33, 0.45, noteFrequency("G5"), noteFrequency("G5"), Wave::PULSE, 0.2,
          {0.003, 0.1, 0.5, 0.25}, 6.0, 0.01);
  addTone(out, 0.33, 0.45, noteFrequency("C4"), noteFrequency("C4"), Wave::TRIANGLE, 0.35,
          {0.003, 0.1, 0.7, 0.25});
  return out;
}

// Two quick falling notes: a power-up has run out.
Buffer powerdownSound() {
  Buffer out;
  const char* notes[] = {"G5", "C5"};
  for (int i = 0; i < 2; ++i) {
    const double f = noteFrequency(notes[i]);
    addTone(out, i * 0.09, 0.12, f, f * 0.94, Wave::PULSE, 0.3, {0.002, 0.04, 0.5, 0.04});
    addTone(out, i * 0.09, 0.12, f / 2.0, f * 0.47, Wave::TRIANGLE, 0.25, {0.002, 0.04, 0.6, 0.04});
  }
  return out;
}

// Eight bars in A minor, unhurried: the title screen.
Buffer menuMusic(double& seconds) {
  const double bpm = 112.0;
  Buffer out;
  const std::string lead =
      "E5:1 A4:0.5 C5:0.5 E5:1 D5:0.5 C5:0.5 "
      "A4:1.5 C5:0.5 F5:1 E5:1 "
      "G4:1 C5:0.5 E5:0.5 G5:1 E5:1 "
      "D5:1.5 B4:0.5 G4:2 "
      "E5:1 A5:0.5 G5:0.5 E5:1 C5:1 "
      "F5:1 E5:0.5 D5:0.5 C5:1 A4:1 "
      "G4:0.5 C5:0.5 E5:0.5 G5:0.5 C6:1 G5:1 "
      "B4:1 D5:1 E5:2";
  const double beats =
      addLine(out, lead, bpm, Wave::PULSE, 0.22, {0.01, 0.1, 0.7, 0.05}, 0.92, 0.006);
  const std::string bass =
      "A2:0.5 A3:0.5 A2:0.5 A3:0.5 A2:0.5 A3:0.5 E3:0.5 A3:0.5 "
      "F2:0.5 F3:0.5 F2:0.5 F3:0.5 F2:0.5 F3:0.5 C3:0.5 F3:0.5 "
      "C3:0.5 C4:0.5 C3:0.5 C4:0.5 C3:0.5 C4:0.5 G3:0.5 C4:0.5 "
      "G2:0.5 G3:0.5 G2:0.5 G3:0.5 G2:0.5 G3:0.5 D3:0.5 G3:0.5 "
      "A2:0.5 A3:0.5 A2:0.5 A3:0.5 A2:0.5 A3:0.5 E3:0.5 A3:0.5 "
      "F2:0.5 F3:0.5 F2:0.5 F3:0.5 F2:0.5 F3:0.5 C3:0.5 F3:0.5 "
      "C3:0.5 C4:0.5 C3:0.5 C4:0.5 C3:0.5 C4:0.5 G3:0.5 C4:0.5 "
      "E2:0.5 E3:0.5 E2:0.5 E3:0.5 G#2:0.5 G#3:0.5 B2:0.5 E3:0.5";
  addLine(out, bass, bpm, Wave::TRIANGLE, 0.4, {0.005, 0.05, 0.8, 0.02}, 0.85);
  // Quiet broken chords under the tune.
  const std::string arp =
      "A4:0.25 C5:0.25 E5:0.25 C5:0.25 A4:0.25 C5:0.25 E5:0.25 C5:0.25 "
      "A4:0.25 C5:0.25 E5:0.25 C5:0.25 A4:0.25 C5:0.25 E5:0.25 C5:0.25 "
      "F4:0.25 A4:0.25 C5:0.25 A4:0.25 F4:0.25 A4:0.25 C5:0.25 A4:0.25 "
      "F4:0.25 A4:0.25 C5:0.25 A4:0.25 F4:0.25 A4:0.25 C5:0.25 A4:0.25 "
      "G4:0.25 C5:0.25 E5:0.25 C5:0.25 G4:0.25 C5:0.25 E5:0.25 C5:0.25 "
      "G4:0.25 C5:0.25 E5:0.25 C5:0.25 G4:0.25 C5:0.25 E5:0.25 C5:0.25 "
      "G4:0.25 B4:0.25 D5:0.25 B4:0.25 G4:0.25 B4:0.25 D5:0.25 B4:0.25 "
      "G4:0.25 B4:0.25 D5:0.25 B4:0.25 G4:0.25 B4:0.25 D5:0.25 B4:0.25 ";
  addLine(out, arp + arp, bpm, Wave::SQUARE, 0.05, {0.002, 0.05, 0.3, 0.02}, 0.8);
  seconds = beats * 60.0 / bpm;
  return out;
}

// Eight bars in C major with drums, driving: the climb.
Buffer gameMusic(double& seconds) {
  const double bpm = 150.0;
  Buffer out;
  const std::string lead =
      "C5:0.5 E5:0.5 G5:0.5 E5:0.5 C6:1 G5:1 "
      "B4:0.5 D5:0.5 G5:0.5 D5:0.5 B5:1 G5:1 "
      "A4:0.5 C5:0.5 E5:0.5 A5:0.5 G5:0.5 E5:0.5 C5:1 "
      "F5:1 E5:0.5 D5:0.5 C5:1 D5:1 "
      "E5:0.5 G5:0.5 C6:0.5 G5:0.5 E5:0.5 G5:0.5 C6:1 "
      "D6:1 B5:0.5 G5:0.5 D5:1 G5:1 "
      "C6:0.5 B5:0.5 A5:0.5 G5:0.5 E5:1 A5:1 "
      "F5:0.5 G5:0.5 A5:0.5 B5:0.5 C6:1.5 R:0.5";
  const double beats =
      addLine(out, lead, bpm, Wave::SQUARE, 0.17, {0.004, 0.08, 0.6, 0.03}, 0.85, 0.004);
  // The same tune an octave lower on a thin pulse, slightly late, gives it body.
  std::string echo;
  {
    std::istringstream words(lead);
    std::string word;
    while (words >> word) {
      const std::size_t colon = word.find(':');
      std::string note = word.substr(0, colon);
      if (note != "R") {
        const char octave = note.back();
        note.back() = static_cast<char>(octave - 1);
      }
      echo += note + word.substr(colon) + " ";
    }
  }
  addLine(out, echo, bpm, Wave::PULSE, 0.07, {0.004, 0.08, 0.5, 0.03}, 0.8);
  const std::string bass =
      "C3:0.5 C3:0.5 G3:0.5 C3:0.5 C3:0.5 C3:0.5 G3:0.5 C4:0.5 "
      "G2:0.5 G2:0.5 D3:0.5 G2:0.5 G2:0.5 G2:0.5 D3:0.5 G3:0.5 "
      "A2:0.5 A2:0.5 E3:0.5 A2:0.5 A2:0.5 A2:0.5 E3:0.5 A3:0.5 "
      "F2:0.5 F2:0.5 C3:0.5 F2:0.5 F2:0.5 F2:0.5 C3:0.5 F3:0.5 "
      "C3:0.5 C3:0.5 G3:0.5 C3:0.5 C3:0.5 C3:0.5 G3:0.5 C4:0.5 "
      "G2:0.5 G2:0.5 D3:0.5 G2:0.5 G2:0.5 G2:0.5 D3:0.5 G3:0.5 "
      "A2:0.5 A2:0.5 E3:0.5 A2:0.5 A2:0.5 A2:0.5 E3:0.5 A3:0.5 "
      "F2:0.5 F2:0.5 C3:0.5 F2:0.5 G2:0.5 G2:0.5 D3:0.5 G3:0.5";
  addLine(out, bass, bpm, Wave::TRIANGLE, 0.45, {0.003, 0.05, 0.8, 0.02}, 0.8);
  addDrums(out, "k.h.s.h.k.hkshhh", 8, bpm, 0.5);
  seconds = beats * 60.0 / bpm;
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "sounds";
  int failures = 0;
  failures += writeWav(dir + "/jump.wav", jumpSound(), 0.2) != 0;
  failures += writeWav(dir + "/fall.wav", fallSound(), 1.05) != 0;
  failures += writeWav(dir + "/startup.wav", startupSound(), 0.8) != 0;
  failures += writeWav(dir + "/powerdown.wav", powerdownSound(), 0.25) != 0;
  double seconds = 0.0;
  Buffer menu = menuMusic(seconds);
  failures += writeWav(dir + "/menuMusic.wav", menu, seconds) != 0;
  Buffer game = gameMusic(seconds);
  failures += writeWav(dir + "/ingameMusic.wav", game, seconds) != 0;
  return failures == 0 ? 0 : 1;
}
