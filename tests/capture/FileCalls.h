// The C library's file calls, seen from outside the plug-in: this test
// program defines open, write, fsync, close, rename, unlink and getrandom
// and exports them, so the plug-in it loads calls these, which pass every
// call on to the C library. While recording, the calls on one folder are
// noted in order; a planned failure or planned random bytes replace the
// C library's answer. Writes to a file in the recorded folder come back as
// a signal and a network file system make them: the first is interrupted
// (EINTR) before it writes anything, each later one takes at most 4 KiB.
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

// Until recording stops, every write or fsync on a file in the recorded
// folder fails with ENOSPC, or every close with EIO, the file closed all the
// same (`call` is "write", "fsync" or "close"): a disk that stays full, so
// that the Mac code's F_FULLFSYNC (seen here as fsync) fails, and so does the
// fsync it falls back to.
void FailFileCalls(const std::string& call);

// getrandom gives these 8-byte values, one per call, the last one again and
// again once they are used up; an empty list gives the system's bytes again.
void PlanRandomDraws(std::vector<std::uint64_t> draws);

}  // namespace glimster::capture_tests
