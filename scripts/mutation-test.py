#!/usr/bin/env python3
"""Mutation testing of the capture code: each mutant below is one small fault
written into the source and built into every deliverable whose code the
file goes into: Glimster.so, Glimster.aex, and Glimster.plugin, whose two
slices are tested apart (macos-x86_64 natively, macos-arm64 under qemu).
Each such binary's tests then run, up to the first that fails: the mutant
is killed on that binary when one does. One that passes every test of a
binary is a fault that binary would ship unseen. The source is restored
after each mutant, and the tree built again at the end.

  scripts/mutation-test.py [--binaries B,...] [NAME ...]
      (all mutants, or those named; on every binary, or on those given of
      so, aex, macos-x86_64, macos-arm64)

Needs a built tree (scripts/build.sh) whose tests pass: each binary's tests
run once first without a mutant. Prints a line per mutant and binary, then
the kill ratio per binary. A mutant takes a few minutes on 2 cores,
most of them the Mac slices' builds and the Wine tests.
"""
import argparse
import pathlib
import re
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "linux"

# Each binary: what to build for it, and which of ctest's tests are its.
BINARIES = {
    "so": (["Glimster", "GlimsterLongStream", "glimster-host", "glimster_unit_tests",
            "glimster_capture_tests", "glimster_file_replace_policy_tests", "glimster_cli_tests", "glimster_integration_tests",
            "glimster_reliability_tests"],
           # Everything but the other binaries' tests, the package checks,
           # the scripts' checks (they hold none of the capture code) and the
           # style check, which would fail a mutant for its layout alone.
           ["-E", r"^(macos[.-]|wine\.|aex\.|package\.|scripts\.|style\.)"]),
    "aex": (["glimster_windows"], ["-R", r"^(wine|aex)\."]),
    "macos-x86_64": (["glimster_macos"], ["-L", "^macos-x86_64$"]),
    "macos-arm64": (["glimster_macos", "glimster_aarch64"], ["-L", "^macos-arm64$"]),
}


def binaries_of(file):
    """The binaries the code of `file` goes into."""
    name = pathlib.Path(file).stem
    if name.endswith("Windows") or name == "WindowsPaths":
        return ["aex"]
    if name.endswith("Posix") or name.endswith("MacOS"):  # Glimster.so: against GNUstep
        return ["so", "macos-x86_64", "macos-arm64"]
    return list(BINARIES)


# name, file, the text replaced (found exactly once), its replacement
MUTANTS = [
    # The writes and the file replace.
    ("posix-short-write", "capture/FileReplacePosix.cpp", "    bytes += written;\n", ""),
    ("windows-short-write", "capture/FileReplaceWindows.cpp", "    bytes += written;\n", ""),
    ("posix-eintr-fails", "capture/FileReplacePosix.cpp",
     "    if (written < 0 && errno == EINTR) continue;\n", ""),
    ("posix-no-excl", "capture/FileReplacePosix.cpp", "O_CREAT | O_EXCL |", "O_CREAT | O_TRUNC |"),
    ("posix-exists-is-failure", "capture/FileReplacePosix.cpp",
     "errno == EEXIST ? Creation::kNameTaken : Creation::kFailed", "Creation::kFailed"),
    ("posix-fsync-ignored", "capture/FileReplacePosix.cpp",
     "  return fsync(file) == 0 || IsOneOf(errno, kFlushUnsupported);", "  fsync(file);\n  return true;"),
    ("mac-refused-full-flush-not-followed-by-fsync", "capture/FileReplacePosix.cpp",
     "  if (!IsOneOf(errno, kFullFlushUnsupported)) return false;",
     "  return IsOneOf(errno, kFullFlushUnsupported);"),
    ("posix-unsupported-flush-fails", "capture/FileReplacePosix.cpp",
     "kFlushUnsupported[] = {EINVAL, ENOTSUP, EOPNOTSUPP};", "kFlushUnsupported[] = {0};"),
    ("windows-unsupported-flush-fails", "capture/FileReplaceWindows.cpp",
     " || GetLastError() == ERROR_INVALID_FUNCTION;", ";"),
    ("posix-one-write", "capture/FileReplacePosix.cpp", "size < kLargestWrite ? size : kLargestWrite",
     "size"),
    ("no-flush", "capture/FileReplace.cpp",
     "file_system::WriteAll(file, bytes, size) && file_system::FlushToDisk(file)",
     "file_system::WriteAll(file, bytes, size)"),
    ("close-ignored", "capture/FileReplace.cpp", "written = file_system::Close(file) && written;",
     "file_system::Close(file);"),
    ("failure-keeps-temporary", "capture/FileReplace.cpp",
     "if (!file_system::Delete(temporary)) file_system::RevealLeftover(temporary);",
     "file_system::RevealLeftover(temporary);"),
    ("posix-leftover-stays-hidden", "capture/FileReplacePosix.cpp",
     "  rename(path.c_str(), visible.c_str());\n", ""),
    ("failed-move-is-success", "capture/FileReplace.cpp",
     "return Discard(temporary, FileReplaceResult::kOpenFailed);", "return FileReplaceResult::kReplaced;"),
    ("one-name-attempt", "capture/FileReplace.cpp", "kTemporaryNameAttempts = 16;",
     "kTemporaryNameAttempts = 1;"),
    ("taken-name-ends-attempts", "capture/FileReplace.cpp",
     "if (creation != Creation::kNameTaken) return creation == Creation::kCreated;",
     "return creation == Creation::kCreated;"),
    ("no-folder-flush", "capture/FileReplace.cpp", "  file_system::FlushFolder(folder);\n", ""),
    ("reveal-unchecked", "capture/FileReplace.cpp", "if (!written || !file_system::Reveal(temporary))",
     "if (!written)"),
    ("windows-not-hidden", "capture/FileReplaceWindows.cpp", "CREATE_NEW, FILE_ATTRIBUTE_HIDDEN",
     "CREATE_NEW, FILE_ATTRIBUTE_NORMAL"),
    ("windows-create-always", "capture/FileReplaceWindows.cpp", "0, nullptr, CREATE_NEW,",
     "0, nullptr, CREATE_ALWAYS,"),
    ("windows-move-no-replace", "capture/FileReplaceWindows.cpp",
     "MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH", "MOVEFILE_WRITE_THROUGH"),
    ("windows-move-not-retried", "capture/FileReplaceWindows.cpp",
     "if (!HeldByAnotherProgram(GetLastError())) return false;", "return false;"),
    ("windows-move-retried-on-any-error", "capture/FileReplaceWindows.cpp",
     "    if (!HeldByAnotherProgram(GetLastError())) return false;\n", ""),
    ("windows-move-waits-longest-first", "capture/FileReplaceWindows.cpp",
     "kMoveRetryWaits[] = {50, 100, 200, 300, 350};", "kMoveRetryWaits[] = {350, 300, 200, 100, 50};"),
    ("windows-reveal-normal", "capture/FileReplaceWindows.cpp",
     "attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)", "FILE_ATTRIBUTE_NORMAL"),
    ("windows-extended-path-redone", "capture/WindowsPaths.cpp",
     "  if (StartsWith(path, kExtended)) return path;\n", ""),
    ("windows-unc-prefix", "capture/WindowsPaths.cpp", 'L"UNC\\\\"', 'L"\\\\"'),
    ("windows-extended-after-normalising", "capture/WindowsPaths.cpp",
     "  if (StartsWith(full, kExtended)) return full;\n", ""),
    ("windows-nt-prefix", "capture/WindowsPaths.cpp",
     "  if (StartsWith(path, kNtPrefix)) return kExtended + path.substr(4);\n", ""),
    ("windows-slash-rules", "capture/NamingWindows.cpp",
     "platform.reserved = ReservedNames::kWindows;", "platform.reserved = ReservedNames::kSlash;"),
    # The writer, its limits and its memory.
    ("one-chunk-check-removed", "capture/PngWriter.cpp",
     "  if (!code) code = CheckFitsOneChunk(png);\n", ""),
    ("one-chunk-edge", "capture/PngLimits.cpp", "*length <= kLongestChunkData",
     "*length < kLongestChunkData"),
    ("size-guard-removed", "capture/PngWriter.cpp",
     "  if (!EncoderTakesFrame(image.width, image.height)) return kOutOfMemory;\n", ""),
    ("stream-bound-edge", "capture/PngLimits.cpp", "LongestCompressedStream(filtered_bytes) <= UINT32_MAX",
     "LongestCompressedStream(filtered_bytes) < UINT32_MAX"),
    ("filtered-size-check-removed", "capture/PngLimits.cpp",
     "row_bits <= UINT32_MAX && filtered_bytes <= UINT32_MAX &&", "row_bits <= UINT32_MAX &&"),
    ("row-bits-check-removed", "capture/PngLimits.cpp", "return row_bits <= UINT32_MAX && ", "return "),
    ("stream-length-off-by-one", "capture/PngLimits.cpp", "return size - kIend - kChunkFrame - at;",
     "return size - kIend - kChunkFrame - at + 1;"),
    ("bound-block-size", "capture/PngLimits.cpp", "65536), 262144);", "65536), 131072);"),
    ("scope-frees-nothing", "capture/EncoderMemory.cpp", "  while (held_.next != &held_) {",
     "  while (false) {"),
    ("realloc-drops-place", "capture/EncoderMemory.cpp", "  if (held) {\n    Join(link, previous, next);",
     "  if (false) {\n    Join(link, previous, next);"),
    ("malloc-null-unchecked", "capture/EncoderMemory.cpp",
     "  if (link == nullptr) throw std::bad_alloc();\n", ""),
    ("png-not-kept", "capture/PngWriter.cpp", "    memory.Keep(png.bytes);\n", ""),
    ("open-failure-is-write-failure", "capture/PngWriter.cpp",
     "    case FileReplaceResult::kOpenFailed:\n      return kFileNotCreated;",
     "    case FileReplaceResult::kOpenFailed:\n      return kWriteFailed;"),
    ("no-failure-line", "capture/PngWriter.cpp", "  if (code) PrintFailureLine(FailureOfCode(code));\n", ""),
    # The repack, the naming and the command.
    ("alpha-rotation", "capture/FrameRepack.cpp", "return (argb >> 8) | (argb << 24);",
     "return (argb >> 8) | (argb << 16);"),
    ("last-pixel-dropped", "capture/FrameRepack.cpp", "for (; x < width; ++x) {",
     "for (; x + 1 < width; ++x) {"),
    ("short-rows-taken", "capture/FrameRepack.cpp",
     "static_cast<std::uint64_t>(frame.row_bytes) < width * 4",
     "static_cast<std::uint64_t>(frame.row_bytes) < width * 3"),
    ("one-word-fits", "capture/OutputNaming.cpp",
     "std::max(words->am.size(), words->pm.size())",
     "(local_time.tm_hour < 12 ? words->am : words->pm).size()"),
    ("control-characters-in-word", "capture/OutputNaming.cpp",
     "static_cast<unsigned char>(c) < 0x20 || ", ""),
    ("pm-word-unchecked", "capture/OutputNaming.cpp", "!IsFileNameWord(am) || !IsFileNameWord(pm)",
     "!IsFileNameWord(am)"),
    ("surrogates-in-word", "capture/OutputNaming.cpp", "lead == 0xED ? 0x9F : ", ""),
    ("windows-budget-in-bytes", "capture/OutputNaming.cpp",
     "UnitsOf(suffix, platform.file_name_unit)", "UnitsOf(suffix, FileNameUnit::kUtf8Byte)"),
    ("path-limit-edge", "capture/OutputNaming.cpp",
     "folder.size() + suffix.size() > kMaxOutputPathBytes", "folder.size() + suffix.size() >= kMaxOutputPathBytes"),
    ("world-with-error-taken", "host/CaptureCommand.cpp",
     "if (!err && frame.world != nullptr)", "if (frame.world != nullptr)"),
    ("unsized-name-empty", "host/CaptureCommand.cpp",
     "      name_size = kLongestUsefulNameBytes;\n", ""),
    ("handled-not-set", "host/CaptureCommand.cpp", "  if (handledPB != nullptr) *handledPB = true;\n", ""),
    ("write-failure-unreported", "host/CaptureCommand.cpp",
     "    if (write_code != 0) ReportFailure(suites, FailureOfCode(write_code));\n", ""),
    ("cleanup-failure-wins", "host/CaptureCommand.cpp", "    if (!err) err = cleanup_err;",
     "    if (err) err = cleanup_err;"),
    # Foundation's answers in the Mac code.
    ("mac-failed-conversion-not-out-of-memory", "capture/NamingMacOS.mm",
     "  if (!result) throw std::bad_alloc();", "  if (!result) return std::nullopt;"),
    ("mac-string-leaked", "capture/NamingMacOS.mm", "  [text release];\n", ""),
    ("exception-record-unprimed", "host/HostCallBoundary.h",
     "  volatile int in_flight = std::uncaught_exceptions();", "  volatile int in_flight = 0;"),
]


def build(binaries):
    targets = sorted({target for binary in binaries for target in BINARIES[binary][0]})
    command = ["cmake", "--build", str(BUILD), "-j2"] + [a for t in targets for a in ("--target", t)]
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def failing_test(binary):
    """The first of the binary's tests that fails, or None."""
    run = subprocess.run(["ctest", "--test-dir", str(BUILD), "-j2", "--timeout", "300",
                          "--stop-on-failure"] + BINARIES[binary][1],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if run.returncode == 0:
        return None
    # A name may hold spaces and brackets; ctest's verdict is the last bracket.
    failed = re.findall(r"^\s*\d+ - (.+) \([^()]*\)$", run.stdout, re.M)
    return failed[0] if failed else "(ctest failed: " + run.stdout.strip().splitlines()[-1] + ")"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binaries", default=",".join(BINARIES))
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()
    wanted = args.binaries.split(",")
    if not set(wanted) <= set(BINARIES):
        sys.exit(f"binaries are among: {' '.join(BINARIES)}")
    chosen = [m for m in MUTANTS if not args.names or m[0] in args.names]
    if args.names and len(chosen) != len(args.names):
        sys.exit(f"unknown mutant among: {' '.join(args.names)}")
    for name, file, original, replacement in chosen:
        text = (ROOT / file).read_text()
        if text.count(original) != 1:
            sys.exit(f"{name}: the text to mutate is not found exactly once in {file}")
    # A test that fails without a mutant would count every mutant killed.
    needed = [b for b in wanted if any(b in binaries_of(m[1]) for m in chosen)]
    built = build(needed)
    if built.returncode != 0:
        sys.exit(f"the tree does not build:\n{built.stdout[-3000:]}")
    for binary in needed:
        failed = failing_test(binary)
        if failed:
            sys.exit(f"{binary}: {failed} fails without any mutant")
    killed = {binary: 0 for binary in wanted}
    tried = {binary: 0 for binary in wanted}
    try:
        for name, file, original, replacement in chosen:
            binaries = [b for b in binaries_of(file) if b in wanted]
            if not binaries:
                continue
            path = ROOT / file
            text = path.read_text()
            path.write_text(text.replace(original, replacement))
            try:
                started = time.monotonic()
                built = build(binaries)
                if built.returncode != 0:
                    sys.exit(f"{name}: the mutant does not build:\n{built.stdout[-3000:]}")
                for binary in binaries:
                    failed = failing_test(binary)
                    tried[binary] += 1
                    killed[binary] += failed is not None
                    verdict = f"killed by {failed}" if failed else "SURVIVED"
                    print(f"{name:34} {binary:13} {time.monotonic() - started:4.0f} s  {verdict}",
                          flush=True)
                    started = time.monotonic()
            finally:
                path.write_text(text)
    finally:
        build(wanted)
    for binary in wanted:
        print(f"{binary}: {killed[binary]} of {tried[binary]} mutants killed", flush=True)


if __name__ == "__main__":
    main()
