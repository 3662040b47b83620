#include "commands/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "commands/command_ids.h"
#include "commands/file_commands.h"
#include "commands/recent_files.h"
#include "document/store.h"

namespace nv {

EditorSettings Settings;

namespace {

constexpr const char* ViewSection = "View";
constexpr const char* WindowSection = "Window";
constexpr const char* RecentSection = "Recent Files";
// A window is never this far off the screens' origin, nor this large: larger numbers are
// damage.
constexpr long PlaceLimit = 100000;

// "%APPDATA%\Nivrano\Settings.ini"; false when there is no such variable or the path would
// be too long.
bool SettingsPath(char* path, char* folder) {
    char base[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("APPDATA", base, sizeof base);
    if (length == 0 || length >= sizeof base) return false;
    const int folderLength = std::snprintf(folder, MAX_PATH, "%s\\Nivrano", base);
    const int pathLength = std::snprintf(path, MAX_PATH, "%s\\Settings.ini", folder);
    return folderLength > 0 && folderLength < MAX_PATH && pathLength > 0 && pathLength < MAX_PATH;
}

// A whole decimal number, an optional minus sign first, within +-PlaceLimit.
bool ParseNumber(const char* text, long* value) {
    const char* digits = text[0] == '-' ? text + 1 : text;
    const std::size_t count = std::strlen(digits);
    if (count == 0 || count > 6) return false;
    for (std::size_t k = 0; k < count; ++k) {
        if (!std::isdigit(static_cast<unsigned char>(digits[k]))) return false;
    }
    *value = std::strtol(text, nullptr, 10);
    return *value >= -PlaceLimit && *value <= PlaceLimit;
}

// A choice of two words; false when the value is neither.
bool ParseChoice(const char* text, const char* first, const char* second, bool* isFirst) {
    if (SameTextIgnoringCase(text, first)) {
        *isFirst = true;
        return true;
    }
    if (SameTextIgnoringCase(text, second)) {
        *isFirst = false;
        return true;
    }
    return false;
}

struct Reader {
    const char* path;
    char value[FilePathSize + 2];  // room to see that a path is too long

    // The value of a key, or "" when it is missing.
    const char* Get(const char* section, const char* key) {
        GetPrivateProfileStringA(section, key, "", value, sizeof value, path);
        return value;
    }
};

// Moves a radio group's check mark from the item the menu resource checks.
void CheckChosen(UINT resourceChoice, UINT choice) {
    if (choice == resourceChoice) return;
    HMENU menu = GetMenu(Doc.MainWindow);
    CheckMenuItem(menu, resourceChoice, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(menu, choice, MF_BYCOMMAND | MF_CHECKED);
}

// Before the file is read, the store holds the start-up choices the menu resource checks.
void ReadView(Reader& file) {
    const std::int32_t startFace = Doc.FaceIndex;
    const std::int32_t startSize = Doc.PointSize;
    const std::int32_t startWrap = Doc.WordWrapChoice;
    const std::int32_t startOrder = Doc.LineOrderChoice;
    const char* face = file.Get(ViewSection, "Face");
    for (int k = 0; k <= IDM_FACE_LAST - IDM_FACE_FIRST; ++k) {
        if (SameTextIgnoringCase(face, FontNameTable[k])) Doc.FaceIndex = k;
    }
    long size = 0;
    if (ParseNumber(file.Get(ViewSection, "Size"), &size) &&
        size >= IDM_SIZE_FIRST - IDM_SIZE_BASE && size <= IDM_SIZE_LAST - IDM_SIZE_BASE) {
        Doc.PointSize = -static_cast<std::int32_t>(size);
    }
    bool yes = true;
    if (ParseChoice(file.Get(ViewSection, "WordWrap"), "Yes", "No", &yes)) {
        Doc.WordWrapChoice = yes ? IDM_WRAP_YES : IDM_WRAP_NO;
    }
    bool reversed = true;
    if (ParseChoice(file.Get(ViewSection, "LineOrder"), "Reversed", "Bidirectional", &reversed)) {
        Doc.LineOrderChoice = reversed ? IDM_ORDER_REVERSED : IDM_ORDER_BIDIRECTIONAL;
    }
    if (ParseChoice(file.Get(ViewSection, "StatusBar"), "Yes", "No", &yes)) {
        Doc.StatusBarShown = yes ? 1 : 0;
        CheckMenuItem(GetMenu(Doc.MainWindow), IDM_VIEW_STATUS_BAR,
                      MF_BYCOMMAND | (yes ? MF_CHECKED : MF_UNCHECKED));
    }
    CheckChosen(static_cast<UINT>(IDM_FACE_FIRST + startFace),
                static_cast<UINT>(IDM_FACE_FIRST + Doc.FaceIndex));
    CheckChosen(static_cast<UINT>(IDM_SIZE_BASE - startSize),
                static_cast<UINT>(IDM_SIZE_BASE - Doc.PointSize));
    CheckChosen(static_cast<UINT>(startWrap), static_cast<UINT>(Doc.WordWrapChoice));
    CheckChosen(static_cast<UINT>(startOrder), static_cast<UINT>(Doc.LineOrderChoice));
}

void ReadWindow(Reader& file) {
    long edges[4] = {};
    const char* const keys[4] = {"Left", "Top", "Right", "Bottom"};
    bool whole = true;
    for (int k = 0; k < 4; ++k) {
        whole = whole && ParseNumber(file.Get(WindowSection, keys[k]), &edges[k]);
    }
    // A place is its four edges together, and a window has a size.
    if (whole && edges[2] > edges[0] && edges[3] > edges[1]) {
        Settings.HasPlace = true;
        Settings.Place = RECT{static_cast<LONG>(edges[0]), static_cast<LONG>(edges[1]),
                              static_cast<LONG>(edges[2]), static_cast<LONG>(edges[3])};
    }
    bool maximized = false;
    if (ParseChoice(file.Get(WindowSection, "Maximized"), "Yes", "No", &maximized)) {
        Settings.Maximized = maximized;
    }
}

void ReadRecentFiles(Reader& file) {
    char key[8];
    for (int k = 0; k < RecentFileLimit; ++k) {
        std::snprintf(key, sizeof key, "File%d", k + 1);
        AppendRecentFile(file.Get(RecentSection, key));
    }
    ShowRecentFiles();
}

const char* YesNo(bool yes) { return yes ? "Yes" : "No"; }

}  // namespace

void ResetSettings() { Settings = EditorSettings{}; }

void ReadSettings() {
    Settings.Read = true;
    char path[MAX_PATH];
    char folder[MAX_PATH];
    if (!SettingsPath(path, folder)) return;
    Reader file{path, {}};
    ReadView(file);
    ReadWindow(file);
    ReadRecentFiles(file);
}

void WriteSettings() {
    char path[MAX_PATH];
    char folder[MAX_PATH];
    if (!Settings.Read || !SettingsPath(path, folder)) return;
    CreateDirectoryA(folder);  // fails harmlessly when it is there already
    char number[16];
    WritePrivateProfileStringA(ViewSection, "Face", FontNameTable[Doc.FaceIndex], path);
    std::snprintf(number, sizeof number, "%d", static_cast<int>(-Doc.PointSize));
    WritePrivateProfileStringA(ViewSection, "Size", number, path);
    WritePrivateProfileStringA(ViewSection, "WordWrap", YesNo(Doc.WordWrapChoice == IDM_WRAP_YES),
                               path);
    WritePrivateProfileStringA(
        ViewSection, "LineOrder",
        Doc.LineOrderChoice == IDM_ORDER_REVERSED ? "Reversed" : "Bidirectional", path);
    WritePrivateProfileStringA(ViewSection, "StatusBar", YesNo(Doc.StatusBarShown != 0), path);

    WINDOWPLACEMENT placement;
    placement.length = sizeof(WINDOWPLACEMENT);
    if (GetWindowPlacement(Doc.MainWindow, &placement)) {
        const RECT& place = placement.rcNormalPosition;
        const LONG edges[4] = {place.left, place.top, place.right, place.bottom};
        const char* const keys[4] = {"Left", "Top", "Right", "Bottom"};
        for (int k = 0; k < 4; ++k) {
            std::snprintf(number, sizeof number, "%ld", static_cast<long>(edges[k]));
            WritePrivateProfileStringA(WindowSection, keys[k], number, path);
        }
        // A window closed while minimized comes back as it was before.
        const bool maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                               (placement.showCmd == SW_SHOWMINIMIZED &&
                                (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
        WritePrivateProfileStringA(WindowSection, "Maximized", YesNo(maximized), path);
    }

    char key[8];
    for (int k = 0; k < RecentFileLimit; ++k) {
        std::snprintf(key, sizeof key, "File%d", k + 1);
        WritePrivateProfileStringA(RecentSection, key,
                                   k < RecentFiles.Count ? RecentFiles.Paths[k] : nullptr, path);
    }
}

RECT PlaceOnScreen(const RECT& place) {
    if (MonitorFromRect(&place, MONITOR_DEFAULTTONULL) != nullptr) return place;
    MONITORINFO screen;
    screen.cbSize = sizeof(MONITORINFO);
    if (!GetMonitorInfoA(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &screen)) return place;
    const RECT& work = screen.rcWork;
    const LONG width = std::min(place.right - place.left, work.right - work.left);
    const LONG height = std::min(place.bottom - place.top, work.bottom - work.top);
    const LONG left = std::clamp(place.left, work.left, work.right - width);
    const LONG top = std::clamp(place.top, work.top, work.bottom - height);
    return RECT{left, top, left + width, top + height};
}

bool PlaceMainWindow(UINT showCommand) {
    if (!Settings.HasPlace && !Settings.Maximized) return false;
    WINDOWPLACEMENT placement;
    placement.length = sizeof(WINDOWPLACEMENT);
    if (!GetWindowPlacement(Doc.MainWindow, &placement)) return false;
    if (Settings.HasPlace) placement.rcNormalPosition = PlaceOnScreen(Settings.Place);
    placement.flags = 0;
    const bool plain = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT;
    placement.showCmd = !plain               ? showCommand
                        : Settings.Maximized ? SW_SHOWMAXIMIZED
                                             : SW_SHOWNORMAL;
    return SetWindowPlacement(Doc.MainWindow, &placement) != 0;
}

}  // namespace nv
