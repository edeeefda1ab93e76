// Memory running out at every point of a capture, for real where a test can
// make it (tests/support/Probe.h): from too little to render the frame,
// through the repack and the encoder, to enough. Each capture writes the
// frame whole, or prints the out-of-memory line and reports it once, or
// answers the host with an error; the earlier file at its path is kept byte
// for byte unless the whole frame replaced it; everything handed out is
// given back, and the plug-in holds no more memory after than before,
// whatever the encoder held when memory ran out.
#include <fstream>
#include <sstream>

#include "CaptureFixture.h"
#include "substitute_host/FrameSources.h"

namespace glimster::capture_tests {
namespace {

class MemoryCapTest : public CaptureFixture {};

TEST_F(MemoryCapTest, UnderEveryCapACaptureWritesTheWholeFrameOrSaysWhyAndKeepsTheEarlierFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit can apply";
#endif
  const Item& comp = ActivateComposition(u"capped", substitute_host::NoiseFrame(256, 256, 9));
  const Rgba8 expected = ExpectedImage(*comp.frame);
  Capture();  // what a first capture sets up for good is not counted below
  const fs::path file = OnlyPng();
  const std::string failures = probe::InMemoryScope(home_, [&] {
    std::ostringstream failed;
    int wrote = 0, out_of_memory = 0;
    for (std::size_t cap = 0; cap <= (2u << 20); cap += 64 << 10) {
      std::ofstream(file, std::ios::binary) << "earlier";
      const std::int64_t held = probe::HeldMemory();
      const std::size_t reports = host_->reports().size();
      probe::CapMemory(cap);
      const substitute_host::CommandOutcome outcome = host_->IssueMenuCommand("Take Glimster");
      probe::UncapMemory();
      host_->log().clear();
      const std::vector<std::string> reported(host_->reports().begin() + reports,
                                              host_->reports().end());
      std::ostringstream what;
      if (probe::HeldMemory() != held) what << " held " << probe::HeldMemory() - held << " bytes;";
      if (!host_->outstanding().none()) what << " " << host_->outstanding().describe() << ";";
      if (DesktopFiles() != std::vector<std::string>{Utf8NameOf(file)}) what << " other files;";
      if (ContentsOf(file) != "earlier") {
        const std::optional<Rgba8> decoded = DecodePng(file);
        if (!decoded || decoded->pixels != expected.pixels) what << " a broken file;";
        if (outcome.result != 0 || !reported.empty()) what << " wrote and failed;";
        ++wrote;
      } else if (!reported.empty()) {
        if (!ReportedOnce(reported, 83) || outcome.result != 0) what << " not one report of 83;";
        ++out_of_memory;
      } else if (outcome.result == 0) {
        what << " nothing written, and nobody told;";
      }
      if (!what.str().empty()) failed << (cap >> 10) << " KiB:" << what.str() << "\n";
    }
    if (wrote == 0 || out_of_memory == 0) {
      failed << wrote << " wrote, " << out_of_memory << " reported 83: both should\n";
    }
    return failed.str();
  });
  EXPECT_EQ(failures, "");
}

}  // namespace
}  // namespace glimster::capture_tests
