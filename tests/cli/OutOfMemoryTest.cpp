// Whole glimster-host runs under address-space limits (prlimit --as), one
// per limit, across the range where the plug-in's writer allocates, for
// frames far larger than the capture tests' (MemoryCapTest, which also
// holds the earlier file at the capture's name): each run writes the frame's
// PNG whole, or prints the out-of-memory line and leaves the desktop empty;
// none ends by a signal.
#include "CliFixture.h"

#include <atomic>
#include <future>
#include <iostream>
#include <map>
#include <sstream>

#include "substitute_host/FrameSources.h"
#include "tests/support/PngImages.h"

namespace glimster::cli_tests {
namespace {

using test_support::DecodePng;
using test_support::Rgba8;
using test_support::RgbaOf;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

enum class Outcome {
  kWrote,        // the PNG at the reported path decodes to the frame
  kOutOfMemory,  // the out-of-memory line, nothing written
  kStopped,      // the program gave up before the plug-in's writer ran (loading, rendering)
};

struct Subject {
  const char* name;
  std::vector<std::string> options;   // glimster-host's frame options
  substitute_host::Frame (*frame)();  // the same frame, made here
};

const Subject kSubjects[] = {
    {"1920x1080 noise (incompressible)",
     {"--noise", "7", "--size", "1920x1080"},
     [] { return substitute_host::NoiseFrame(1920, 1080, 7); }},
    {"3840x2160 test card (compressible)",
     {"--test-card", "--size", "3840x2160"},
     [] { return substitute_host::TestCardFrame(3840, 2160); }},
};

void PrintTo(const Subject& subject, std::ostream* out) { *out << subject.name; }

class OutOfMemory : public CliTest, public ::testing::WithParamInterface<Subject> {
 protected:
  // One capture with the address space limited to `limit_mib`, into an
  // empty desktop of its own; checks what it left and gives its outcome.
  Outcome CaptureUnder(std::uint64_t limit_mib) {
    const Subject& subject = GetParam();
    const fs::path run = root_ / ("run-" + std::to_string(++runs_));
    const fs::path desktop = run / "Desktop";
    fs::create_directories(desktop);

    std::vector<std::string> arguments = HostCommand();
    arguments.insert(arguments.begin(), "--as=" + std::to_string(limit_mib * kMiB));
    arguments.insert(arguments.end(), {PluginFile().string(), "--desktop", desktop.string()});
    arguments.insert(arguments.end(), subject.options.begin(), subject.options.end());
    const ToolRun result = RunProgram(GLIMSTER_PRLIMIT_PROGRAM, arguments, Environment(), run);
    const std::string context = std::to_string(limit_mib) + " MiB:\n" + result.out + result.err;
    fs::remove(run / "tool-stdout.txt");
    fs::remove(run / "tool-stderr.txt");

    EXPECT_NE(result.exit_code, -1) << "ended by a signal at " << context;
    const fs::path written = fs::u8path(ValueOf(result.out, "wrote"));
    Outcome outcome = Outcome::kStopped;
    if (!written.empty()) {
      outcome = Outcome::kWrote;
      const std::optional<Rgba8> image = DecodePng(written);
      EXPECT_TRUE(image && image->width == expected_.width && image->height == expected_.height &&
                  image->pixels == expected_.pixels)
          << "a PNG that does not hold the frame at " << context;
    } else if (ValueOf(result.out, "error 83") == "memory allocation failed") {
      outcome = Outcome::kOutOfMemory;
    } else {
      EXPECT_EQ(result.out.find("error "), std::string::npos) << context;
      EXPECT_NE(result.exit_code, 0) << context;
    }
    EXPECT_EQ(EntriesOf(desktop),
              outcome == Outcome::kWrote ? std::vector<fs::path>{written} : std::vector<fs::path>{})
        << context;
    fs::remove_all(run);
    return outcome;
  }

  Rgba8 expected_;
  std::atomic<int> runs_{0};  // runs may go two at a time: each has a folder of its own
};

TEST_P(OutOfMemory, EveryLimitWritesTheWholeFrameOrReportsCode83AndLeavesNoFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP()
      << "AddressSanitizer reserves terabytes of address space: no address-space limit can apply";
#endif
  const Subject& subject = GetParam();
  expected_ = RgbaOf(subject.frame());
  std::map<std::uint64_t, Outcome> table;

  // The writer's range, each end found to 2 MiB by halving: from the
  // smallest limit at which the program gets as far as the writer (below it,
  // loading the libraries or rendering fails) to the smallest that lets the
  // capture through. The search for the first starts at most five frames'
  // worth below the second.
  const auto smallest = [&](std::uint64_t fails, std::uint64_t holds, auto&& holds_at) {
    while (holds - fails > 2) {
      const std::uint64_t middle = (fails + holds) / 2;
      holds_at(table[middle] = CaptureUnder(middle)) ? holds = middle : fails = middle;
    }
    return holds;
  };
  ASSERT_EQ(table[1024] = CaptureUnder(1024), Outcome::kWrote);
  const std::uint64_t top = smallest(16, 1024, [](Outcome o) { return o == Outcome::kWrote; });
  const std::uint64_t frame_mib = (expected_.pixels.size() + kMiB - 1) / kMiB;
  std::uint64_t bottom = top > 5 * frame_mib + 16 ? top - 5 * frame_mib : 16;
  if ((table[bottom] = CaptureUnder(bottom)) == Outcome::kStopped) {
    bottom = smallest(bottom, top, [](Outcome o) { return o != Outcome::kStopped; });
  }

  // 24 limits spread over it, two at a time.
  constexpr int kSamples = 24;
  const auto sample = [&](int i) { return bottom - 2 + (top + 4 - bottom) * i / (kSamples - 1); };
  for (int i = 0; i < kSamples; i += 2) {
    const std::uint64_t first = sample(i);
    const std::uint64_t second = sample(i + 1);
    std::future<Outcome> other =
        std::async(std::launch::async, [&] { return CaptureUnder(second); });
    table[first] = CaptureUnder(first);
    table[second] = other.get();
  }

  std::map<Outcome, int> counts;
  std::ostringstream limits;
  for (const auto& [limit, outcome] : table) {
    ++counts[outcome];
    limits << ' ' << limit
           << (outcome == Outcome::kWrote         ? ":wrote"
               : outcome == Outcome::kOutOfMemory ? ":83"
                                                  : ":stopped");
  }
  std::cout << subject.name << ": " << table.size() << " limits (MiB), " << counts[Outcome::kWrote]
            << " wrote the frame, " << counts[Outcome::kOutOfMemory] << " printed error 83, "
            << counts[Outcome::kStopped] << " stopped before the writer;" << limits.str() << "\n";
  EXPECT_GT(counts[Outcome::kOutOfMemory], 0) << "the sweep missed the writer's range";
}

INSTANTIATE_TEST_SUITE_P(Frames, OutOfMemory, ::testing::ValuesIn(kSubjects));

}  // namespace
}  // namespace glimster::cli_tests
