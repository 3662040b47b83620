// The recovery copy: while the document counts as changed, a copy of it in the document
// file format waits in %LOCALAPPDATA%\Nivrano\Recovery, so that a crash, a kill or a power
// cut loses at most the last seconds of typing. The next start offers a copy whose editor
// did not end normally.
//
// Each running editor has files of its own there, under a base name made of its process id
// ("4242", or "4242-1" when a left copy of an earlier process holds that one):
//
//   4242.lock    held open without sharing while the editor runs: a copy whose lock
//                cannot be opened belongs to an editor that still runs;
//   4242-a.txt   the copy, written alternately under -a and -b, so that the copy being
//   4242-b.txt   written never touches the one the header names;
//   4242.ini     the header, text lines naming the copy, its size and checksum, the file
//                the document came from (a full path) and that file's size and checksum
//                when the document last matched it; written beside as 4242.new, flushed,
//                then moved over the old header in one step.
//
// A copy whose header or bytes do not agree, or whose file is no well-formed full path, is
// damaged: it is never offered, and left where it is. Files there older than 30 days that
// no running editor holds go at the next start, except a whole copy still to be offered.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

// Window timer 2 (the palette's auto-repeat is timer 1): fires this long after the first
// change the copy does not hold yet.
constexpr std::uintptr_t RecoveryTimer = 2;
constexpr UINT RecoveryDelay = 2000;

// After every message: an edit starts the timer unless it runs already, so that steady
// typing is copied too; a document that no longer counts as changed (saved, replaced, or
// edited back to the saved text) loses its copy.
void TrackRecoveryCopy();
// The timer: writes the copy. The first write of a run that fails says so once ("Recovery
// Copy"); the stale copy goes, so that it is never offered as current, and the next edit
// tries again.
void OnRecoveryTimer();
// Writes the copy now when the document counts as changed (the session is ending).
void WriteRecoveryCopy();
// The user dropped the changes: the copy goes.
void DropRecoveryCopy();
// The editor ends normally: the copy goes, and the lock is closed and deleted.
void EndRecovery();

// At start: offers the newest copy left by an editor that did not end normally and that no
// running editor owns, naming its file. Yes makes its text the document (counting as
// changed, titled "FILE (Recovered)"), and this editor keeps the copy from then on; No
// deletes it. True when a copy was restored.
bool OfferRecoveryCopy();

// Save Again's check before it writes the file a recovered text came from: false when that
// file is gone or differs from what it held when the copy's document last matched it.
// True for any other document.
bool RecoveredSourceUnchanged();

// Closes the lock as the system does when the process ends (tests end their editor so).
void CloseRecoveryLock();
// Puts the record back to its value at load time, with no platform calls.
void ResetRecoveryState();

// A 32-bit FNV-1a checksum, as the header carries it.
std::uint32_t RecoveryChecksum(const std::uint8_t* bytes, std::size_t count);

}  // namespace nv
