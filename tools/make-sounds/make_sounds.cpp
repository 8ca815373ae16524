// Writes the client's alert sounds: seven alerts, each as a "once" file (the alert a single
// time) and a plain file (the alert three times, for the three-times and endless modes), plus
// the default alert played when a chosen file is missing. Pure synthesis: the output is the
// same bytes on every run.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 16000;

struct Note {
  double start;     // seconds from the alert's start
  double length;    // seconds
  double freq;      // Hz; a sweep runs to freqEnd
  double freqEnd;   // 0: no sweep
  double decay;     // exponential decay per second
};

using Samples = std::vector<double>;

void AddNote(Samples& out, const Note& n) {
  const size_t first = static_cast<size_t>(n.start * kRate);
  const size_t count = static_cast<size_t>(n.length * kRate);
  if (out.size() < first + count) out.resize(first + count, 0.0);
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = n.freqEnd > 0 ? n.freq + (n.freqEnd - n.freq) * t / n.length : n.freq;
    phase += 2 * std::numbers::pi * f / kRate;
    // Short attack and release so no note clicks; a soft overtone gives a bell colour.
    const double attack = std::min(1.0, t / 0.005);
    const double release = std::min(1.0, (n.length - t) / 0.01);
    const double env = attack * release * std::exp(-n.decay * t);
    out[first + i] += env * (std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase));
  }
}

Samples Alert(const std::vector<Note>& notes) {
  Samples s;
  for (const Note& n : notes) AddNote(s, n);
  return s;
}

std::vector<Samples> Alerts() {
  return {
      Alert({{0.0, 0.45, 1318.5, 0, 5}, {0.35, 0.7, 1046.5, 0, 4}}),                       // ding-dong
      Alert({{0.0, 0.25, 523.3, 0, 6}, {0.18, 0.25, 659.3, 0, 6}, {0.36, 0.5, 784.0, 0, 4}}),  // rising
      Alert({{0.0, 0.1, 1760, 0, 2}, {0.15, 0.1, 1760, 0, 2}, {0.3, 0.1, 1760, 0, 2}}),        // beeps
      Alert({{0.0, 0.3, 784.0, 0, 7}, {0.2, 0.3, 659.3, 0, 7}, {0.4, 0.5, 523.3, 0, 5}}),    // falling
      Alert({{0.0, 1.2, 880.0, 0, 2.5}}),                                                    // bell
      Alert({{0.0, 0.3, 600, 1200, 1}, {0.35, 0.3, 600, 1200, 1}}),                          // chirps
      Alert({{0.0, 0.9, 784.0, 0, 3}, {0.12, 0.8, 1046.5, 0, 3}, {0.24, 0.7, 1318.5, 0, 3}}),  // chime
  };
}

Samples ThreeTimes(const Samples& once) {
  const size_t gap = kRate / 3;
  Samples out;
  for (int i = 0; i < 3; ++i) {
    out.insert(out.end(), once.begin(), once.end());
    out.insert(out.end(), gap, 0.0);
  }
  return out;
}

void Put16(std::ofstream& f, uint16_t v) { f.put(char(v & 0xff)).put(char(v >> 8)); }
void Put32(std::ofstream& f, uint32_t v) { Put16(f, uint16_t(v & 0xffff)), Put16(f, uint16_t(v >> 16)); }

// 16-bit mono PCM, peak-normalised to half scale so alerts are clear but not harsh.
bool WriteWav(const std::string& path, const Samples& s) {
  double peak = 1e-9;
  for (double v : s) peak = std::max(peak, std::abs(v));
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  const uint32_t bytes = static_cast<uint32_t>(s.size() * 2);
  f.write("RIFF", 4);
  Put32(f, 36 + bytes);
  f.write("WAVEfmt ", 8);
  Put32(f, 16);
  Put16(f, 1);  // PCM
  Put16(f, 1);  // mono
  Put32(f, kRate);
  Put32(f, kRate * 2);
  Put16(f, 2);
  Put16(f, 16);
  f.write("data", 4);
  Put32(f, bytes);
  for (double v : s) Put16(f, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v / peak * 16383))));
  return bool(f.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<Samples> alerts = Alerts();
  bool ok = true;
  for (size_t i = 0; i < alerts.size(); ++i) {
    const std::string number = i == 0 ? "" : std::to_string(i + 1);
    ok &= WriteWav(folder + "/once_sound" + number + ".wav", alerts[i]);
    ok &= WriteWav(folder + "/sound" + number + ".wav", ThreeTimes(alerts[i]));
  }
  ok &= WriteWav(folder + "/default_alert.wav",
                 Alert({{0.0, 0.15, 1000, 0, 0}, {0.25, 0.15, 1000, 0, 0}}));
  if (!ok) std::fprintf(stderr, "cannot write the sounds into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
