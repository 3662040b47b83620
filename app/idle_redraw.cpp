#include "app/idle_redraw.h"

#include "commands/file_commands.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/status_bar.h"

namespace nv {

namespace {

struct IdleRedrawState {
    bool StatusBarStale = false;
    bool Posted = false;  // an IdleRedrawMessage is waiting in the queue
};

IdleRedrawState Idle;

void RedrawNow() {
    RedrawScrollBar();
    if (!Idle.StatusBarStale) return;
    Idle.StatusBarStale = false;
    UpdateStatusBar(DocumentFormatText());
}

}  // namespace

void ResetIdleRedraw() { Idle = IdleRedrawState{}; }

void NoteStatusBarChanged() { Idle.StatusBarStale = true; }

void PostIdleRedraw() {
    if (!(Geo.ScrollBarStale || Idle.StatusBarStale) || Idle.Posted) return;
    Idle.Posted = PostMessageA(Doc.MainWindow, IdleRedrawMessage, 0, 0) != 0;
    if (!Idle.Posted) RedrawNow();
}

void HandleIdleRedrawMessage() {
    Idle.Posted = false;
    if (HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0) return;
    RedrawNow();
}

}  // namespace nv
