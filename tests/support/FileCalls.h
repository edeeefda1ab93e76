// The C library's file calls, seen from outside the plug-in: this test
// program defines open, write, fsync, close, rename, unlink and getrandom
// (and macos_runner's glimster_macos_full_fsync, the Mac code's F_FULLFSYNC)
// and exports them, so the plug-in it loads calls these, which pass every
// call on to the C library. While recording, the calls on one folder are
// noted in order; a planned failure or planned random bytes replace the
// C library's answer. Writes to a file in the recorded folder come back as
// a signal and a network file system make them: the first is interrupted
// (EINTR) before it writes anything, each later one takes at most 4 KiB
// (unless writes are pretended).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace glimster::capture_tests {

// Notes from now on, as "<call> <name>", the calls on files directly in
// `folder` ("." for the folder itself): "open NAME" (or "open NAME: exists"
// when it was there already), "write NAME" once for a run of writes,
// "fsync NAME", "close NAME", "rename NAME -> NAME", "unlink NAME".
void StartRecordingFileCalls(const std::filesystem::path& folder);
// Stops recording; gives the calls noted.
std::vector<std::string> StopRecordingFileCalls();

// From now on until recording stops, a write to a file in the recorded folder
// writes nothing and answers that it wrote all it was asked to; the sizes
// asked for are noted, in order (WriteSizes). For files larger than a test
// should put on the disk.
void PretendWrites();
// The sizes the pretended writes were asked for.
std::vector<std::size_t> WriteSizes();

// Until recording stops, every `call` ("write", "fsync", "fullfsync",
// "close" or "unlink") on a file in the recorded folder after the first
// `after` of them fails with `error`, doing nothing; a failing close closes
// the file all the same. Several calls may fail at once. Every call, not only
// the next: a disk stays full, and a file system that cannot flush never can.
// "fsync" fails the Mac code's full flush (F_FULLFSYNC, noted as fsync) too,
// unless "fullfsync" fails it otherwise: "fullfsync" fails the full flush alone.
void FailFileCalls(const std::string& call, int error, int after = 0);

// The path the last rename was asked to move a file to, done or refused,
// recording or not; empty when none was asked since the last call.
std::string TakeRenameTarget();

// getrandom gives these 8-byte values, one per call, the last one again and
// again once they are used up; an empty list gives the system's bytes again.
void PlanRandomDraws(std::vector<std::uint64_t> draws);

}  // namespace glimster::capture_tests
