// Writing a file so that a failure never leaves a half-written file in place of
// a good one: the bytes go to a temporary file in the same folder, which is
// renamed over the target only when everything has been written and flushed.
//
// The temporary file has an unpredictable name and is created exclusively,
// never through a link, so nobody sharing the folder can plant a file or a
// link under its name beforehand.
#pragma once

#include <signal.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace vorel::platform {

// Writes `bytes` to `path`, replacing any existing file. When a step fails,
// asks Retry/Cancel through the prompter with `failureText` (error icon,
// title "エラー"); Retry repeats the step, Cancel removes the temporary file,
// keeps any old file and returns false.
//
// A link at `path` is followed: the file it names is replaced in its own
// folder. Something at `path` that is not a regular file (a FIFO, a device,
// a terminal) is written directly and never replaced. A regular file whose
// folder takes no new files is rewritten in place.
bool WriteFileSafely(const std::string& path, std::string_view bytes, const std::string& failureText);

// A file's bytes made piece by piece, for a file too large to hold whole:
// the source hands each piece to `put` and returns false as soon as `put`
// does (the write failed). A retry calls the source again from the start.
using BytePut = std::function<bool(std::string_view piece)>;
using ByteSource = std::function<bool(const BytePut& put)>;
bool WriteFileSafely(const std::string& path, const ByteSource& source, const std::string& failureText);

// Creates a new, empty temporary file beside `target` (in its folder, named
// after it), exclusively and without following links, readable by the owner
// only. Returns the open descriptor and sets `created`; -1 with errno set on
// failure. Until ReleaseTemporaryFile, the file is among those that
// RemoveTemporaryFilesInProgress removes.
int CreateTemporaryFile(const std::string& target, std::string& created);
void ReleaseTemporaryFile(const std::string& created);

// Removes every temporary file still being written. Safe to call from a
// signal handler.
void RemoveTemporaryFilesInProgress();

// The signals that end a program from outside (Ctrl+C, kill, a closed
// terminal or session).
inline constexpr std::array<int, 3> kEndingSignals = {SIGINT, SIGTERM, SIGHUP};
// The same as a set, for blocking them.
sigset_t EndingSignalSet();

// Sets `handler` for SIGINT, SIGTERM and SIGHUP, the signals that end a
// program from outside (Ctrl+C, kill, a closed terminal or session), with
// sigaction's `flags`. A signal the program was started with ignored stays
// ignored.
void CatchEndingSignals(void (*handler)(int), int flags);

// For a command-line program: SIGINT, SIGTERM and SIGHUP remove the
// temporary files in progress and end the program with 128 + the signal's
// number (130, 143, 129), as shells report it. A signal the program was
// started with ignored stays ignored.
void EndOnInterruptWithoutTemporaryFiles();

// The path a chain of links at `path` leads to (the path itself when it is
// no link); the last entry need not exist.
std::string FollowLinks(const std::string& path);

// Test hook: while set, it gives the suffixes of temporary names (after
// ".tmp-") in place of the random ones, so a test can plant files under them.
void SetTemporarySuffixesForTesting(std::function<std::string()> suffixes);

// Test hook: while set, it is asked before each write step (0 create, 1 write,
// 2 flush, 3 rename) and a true answer makes that step fail as if the disk were
// full; at step 0, as if the folder took no new files.
void SetWriteFaultForTesting(std::function<bool(int step)> fault);

}  // namespace vorel::platform
