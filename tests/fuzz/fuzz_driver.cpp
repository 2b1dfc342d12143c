// A small stand-in for libFuzzer, so that every fuzz target runs under CTest
// with any compiler: it replays every file of the corpus folders given, then
// feeds random mutations of them until the time is up. It takes libFuzzer's
// command line (-max_total_time=S, -seed=N, -runs=N, folders), so one CTest
// command suits both. Unknown -flags are ignored.
//
// Should an input crash the target, the input is written to
// fuzz-crash-<pid> in the working folder first, to replay it with
//   fuzz_<name> fuzz-crash-<pid>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Input = std::string;

// The input being run, for the crash handler.
const Input* g_current = nullptr;

extern "C" void on_crash(int sig) {
  if (g_current != nullptr) {
    char name[64];
    std::snprintf(name, sizeof name, "fuzz-crash-%d", static_cast<int>(getpid()));
    const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      if (write(fd, g_current->data(), g_current->size()) < 0) {}
      close(fd);
    }
    const char note[] = "fuzz driver: the input that crashed is in fuzz-crash-<pid>\n";
    if (write(2, note, sizeof note - 1) < 0) {}
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void run(const Input& input) {
  g_current = &input;
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  g_current = nullptr;
}

std::vector<Input> read_inputs(const std::vector<std::string>& paths) {
  namespace fs = std::filesystem;
  std::vector<Input> inputs;
  const auto read = [&inputs](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  for (const std::string& path : paths) {
    if (fs::is_directory(path)) {
      std::vector<fs::path> files;
      for (const auto& e : fs::directory_iterator(path))
        if (e.is_regular_file()) files.push_back(e.path());
      std::sort(files.begin(), files.end());  // the same order on every run
      for (const fs::path& f : files) read(f);
    } else if (fs::is_regular_file(path)) {
      read(path);
    }
  }
  return inputs;
}

// Byte strings that readers of numbers, text files and JSON treat specially.
const std::vector<std::string_view> kTokens = {
    "[",   "]",    "{",     "}",     "\"",  ",",    ":",      "\\",   "\n",    "\r",   "\r\n",
    "\t",  " ",    "-",     "+",     ".",   "e",    "E",      "e308", "e-324", "1e400", "nan",
    "NaN", "Inf",  "-inf",  "0x1p3", "1,5", "null", "true",   "9007199254740993",    "\xff",
    std::string_view("\0", 1), "\xc3\xa9", "\"Position\": [", "\"Controls\": [", "\"Figure\": {", "1e300"};

Input mutate(const Input& base, const std::vector<Input>& corpus, std::mt19937_64& rng) {
  Input s = base;
  const auto pick = [&rng](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
  const std::size_t steps = 1 + pick(6);
  for (std::size_t i = 0; i < steps; ++i) {
    switch (pick(7)) {
      case 0:  // flip a bit
        if (!s.empty()) s[pick(s.size())] ^= static_cast<char>(1u << pick(8));
        break;
      case 1:  // a random byte
        s.insert(s.begin() + static_cast<std::ptrdiff_t>(pick(s.size() + 1)), static_cast<char>(rng()));
        break;
      case 2: {  // drop a stretch
        if (s.empty()) break;
        const std::size_t at = pick(s.size());
        s.erase(at, 1 + pick(std::min<std::size_t>(16, s.size() - at)));
        break;
      }
      case 3: {  // repeat a stretch (deep nesting, long lines)
        if (s.empty()) break;
        const std::size_t at = pick(s.size());
        const std::string piece = s.substr(at, 1 + pick(8));
        const std::size_t times = 1 + pick(rng() % 8 == 0 ? 5000 : 16);
        std::string run;
        for (std::size_t k = 0; k < times; ++k) run += piece;
        s.insert(at, run);
        break;
      }
      case 4: {  // a special token
        const std::string_view t = kTokens[pick(kTokens.size())];
        s.insert(pick(s.size() + 1), t.data(), t.size());
        break;
      }
      case 5: {  // splice in part of another input
        const Input& other = corpus[pick(corpus.size())];
        if (other.empty()) break;
        const std::size_t from = pick(other.size());
        s.insert(pick(s.size() + 1), other.substr(from, 1 + pick(64)));
        break;
      }
      default:  // overwrite a byte with a digit
        if (!s.empty()) s[pick(s.size())] = static_cast<char>('0' + pick(10));
        break;
    }
  }
  constexpr std::size_t kLargest = 1 << 20;
  if (s.size() > kLargest) s.resize(kLargest);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  std::uint64_t seed = 1;
  long long runs = -1;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    const auto value = [&a](std::string_view flag) { return std::string(a.substr(flag.size())); };
    if (a.rfind("-max_total_time=", 0) == 0) seconds = std::stod(value("-max_total_time="));
    else if (a.rfind("-seed=", 0) == 0) seed = std::stoull(value("-seed="));
    else if (a.rfind("-runs=", 0) == 0) runs = std::stoll(value("-runs="));
    else if (a.rfind("-", 0) != 0) paths.emplace_back(a);
  }
  for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(sig, on_crash);

  std::vector<Input> corpus = read_inputs(paths);
  for (const Input& input : corpus) run(input);
  if (corpus.empty()) corpus.emplace_back();
  std::mt19937_64 rng(seed);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long long done = 0;
  while ((runs < 0 || done < runs) && std::chrono::steady_clock::now() < end) {
    const Input input = mutate(corpus[rng() % corpus.size()], corpus, rng);
    run(input);
    ++done;
  }
  std::cerr << "fuzz driver: " << corpus.size() << " corpus inputs and " << done
            << " mutations (seed " << seed << ")\n";
  return 0;
}
