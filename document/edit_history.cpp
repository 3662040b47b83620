#include "document/edit_history.h"

#include <algorithm>
#include <cstring>

namespace nv {

EditHistory History;

namespace {

constexpr std::int64_t HeaderSize = sizeof(EditStep);
constexpr std::int64_t FooterSize = sizeof(std::int32_t);

// The largest step: every byte but the terminator replaced by as many.
static_assert(EditHistoryCapacity >= HeaderSize + 2 * (TextLimit - 1) + FooterSize,
              "the largest step must always fit");

// A step's payload moved aside while bytes are put in front of it.
std::uint8_t Scratch[2 * TextLimit];

std::int64_t StepSize(const EditStep& step) {
    return HeaderSize + step.Removed + step.Inserted + FooterSize;
}

void Put(std::int64_t at, const void* source, std::int64_t n) {
    const auto* bytes = static_cast<const std::uint8_t*>(source);
    while (n > 0) {
        const std::int64_t i = at % History.Capacity;
        const std::int64_t run = std::min(n, History.Capacity - i);
        std::memcpy(History.Ring + i, bytes, static_cast<std::size_t>(run));
        at += run;
        bytes += run;
        n -= run;
    }
}

void Get(std::int64_t at, void* target, std::int64_t n) {
    auto* bytes = static_cast<std::uint8_t*>(target);
    while (n > 0) {
        const std::int64_t i = at % History.Capacity;
        const std::int64_t run = std::min(n, History.Capacity - i);
        std::memcpy(bytes, History.Ring + i, static_cast<std::size_t>(run));
        at += run;
        bytes += run;
        n -= run;
    }
}

EditStep HeaderAt(std::int64_t start) {
    EditStep step;
    Get(start, &step, HeaderSize);
    return step;
}

std::int64_t StartBefore(std::int64_t end) {
    std::int32_t size = 0;
    Get(end - FooterSize, &size, FooterSize);
    return end - size;
}

// Writes the header and the length of a step whose payload is already in place.
void Seal(std::int64_t start, const EditStep& step) {
    Put(start, &step, HeaderSize);
    const auto size = static_cast<std::int32_t>(StepSize(step));
    Put(start + size - FooterSize, &size, FooterSize);
    History.Newest = History.Current = start + size;
}

// Drops the oldest steps until `need` more bytes fit, but none at or after `keep`.
bool MakeRoom(std::int64_t need, std::int64_t keep) {
    while (History.Newest - History.Oldest + need > History.Capacity) {
        if (History.Oldest >= keep) return false;
        History.Oldest += StepSize(HeaderAt(History.Oldest));
    }
    return true;
}

void Append(const EditStep& step, const std::uint8_t* removed, const std::uint8_t* inserted) {
    // Only a ring made smaller than the largest step can meet a step that never fits.
    if (StepSize(step) > History.Capacity) {
        ClearEditHistory();
        return;
    }
    MakeRoom(StepSize(step), History.Newest);
    const std::int64_t start = History.Newest;
    Put(start + HeaderSize, removed, step.Removed);
    Put(start + HeaderSize + step.Removed, inserted, step.Inserted);
    Seal(start, step);
}

// Puts n bytes into the payload of the last step, at `at`, and gives it the header `grown`.
bool Grow(std::int64_t start, const EditStep& grown, std::int64_t at, const std::uint8_t* bytes,
          std::int32_t n) {
    if (!MakeRoom(n, start)) return false;
    const std::int64_t payload = start + HeaderSize;
    const std::int64_t tail = grown.Removed + grown.Inserted - n - at;
    if (tail > 0) {
        Get(payload + at, Scratch, tail);
        Put(payload + at + n, Scratch, tail);
    }
    Put(payload + at, bytes, n);
    Seal(start, grown);
    return true;
}

// A new word begins after these.
bool IsWordGap(std::uint8_t byte) {
    return byte == ' ' || byte == CarriageReturn || byte == LineFeed;
}

bool Join(const EditStep& step, const std::uint8_t* removed, const std::uint8_t* inserted) {
    if (!History.Open || History.Newest == History.Oldest) return false;
    const std::int64_t start = StartBefore(History.Newest);
    const EditStep last = HeaderAt(start);
    if (last.Kind != step.Kind) return false;
    EditStep grown = last;
    switch (step.Kind) {
        case EditKind::Typing: {
            if (step.Removed != 0 || step.Position != last.Position + last.Inserted) return false;
            std::uint8_t previous = 0;
            Get(start + HeaderSize + last.Removed + last.Inserted - 1, &previous, 1);
            if (IsWordGap(previous) && !IsWordGap(inserted[0])) return false;
            grown.Inserted += step.Inserted;
            return Grow(start, grown, last.Removed + last.Inserted, inserted, step.Inserted);
        }
        case EditKind::Backspace:
            // Each press removes the bytes before the ones already taken.
            if (step.Inserted != 0 || last.Inserted != 0 ||
                step.Position + step.Removed != last.Position) {
                return false;
            }
            grown.Position = step.Position;
            grown.Removed += step.Removed;
            return Grow(start, grown, 0, removed, step.Removed);
        case EditKind::DeleteKey:
            if (step.Inserted != 0 || last.Inserted != 0 || step.Position != last.Position) {
                return false;
            }
            grown.Removed += step.Removed;
            return Grow(start, grown, last.Removed, removed, step.Removed);
        default:
            return false;
    }
}

bool Joins(EditKind kind) {
    return kind == EditKind::Typing || kind == EditKind::Backspace || kind == EditKind::DeleteKey;
}

}  // namespace

void ClearEditHistory() {
    History.Oldest = History.Current = History.Newest = 0;
    History.Open = false;
}

void SetEditHistoryCapacity(std::int64_t capacity) {
    History.Capacity =
        std::clamp<std::int64_t>(capacity, HeaderSize + FooterSize + 1, EditHistoryCapacity);
    ClearEditHistory();
}

void RecordEdit(const EditStep& step, const std::uint8_t* removed, const std::uint8_t* inserted) {
    if (step.Kind == EditKind::FromHistory || (step.Removed == 0 && step.Inserted == 0)) return;
    History.Newest = History.Current;  // what could have been redone is gone
    if (!Join(step, removed, inserted)) Append(step, removed, inserted);
    History.Open = Joins(step.Kind);
}

void BreakUndoGroup() { History.Open = false; }

bool CanUndo() { return History.Current > History.Oldest; }
bool CanRedo() { return History.Current < History.Newest; }

bool PeekUndo(EditStep* step, std::uint8_t* removed) {
    if (!CanUndo()) return false;
    const std::int64_t start = StartBefore(History.Current);
    *step = HeaderAt(start);
    const std::int32_t lengthBefore = Doc.TextLength - step->Inserted + step->Removed;
    if (step->Position < 0 || step->Position + step->Inserted > Doc.TextLength - 1 ||
        lengthBefore > TextLimit || step->CaretBefore < 0 || step->CaretBefore >= lengthBefore) {
        ClearEditHistory();
        return false;
    }
    Get(start + HeaderSize, removed, step->Removed);
    return true;
}

bool PeekRedo(EditStep* step, std::uint8_t* inserted) {
    if (!CanRedo()) return false;
    *step = HeaderAt(History.Current);
    if (step->Position < 0 || step->Position + step->Removed > Doc.TextLength - 1 ||
        Doc.TextLength - step->Removed + step->Inserted > TextLimit) {
        ClearEditHistory();
        return false;
    }
    Get(History.Current + HeaderSize + step->Removed, inserted, step->Inserted);
    return true;
}

void CommitUndo() {
    History.Current = StartBefore(History.Current);
    History.Open = false;
}

void CommitRedo() {
    History.Current += StepSize(HeaderAt(History.Current));
    History.Open = false;
}

}  // namespace nv
