// The end-to-end scenarios: each starts its own editor, checks what a user can see and
// throws e2e::Failure when something differs.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct ScenarioContext {
    std::string exePath;       // nivrano.exe, as a Windows path
    std::string artifactsDir;  // where captures are written, as a Windows path
    std::string tracePath;     // the file that receives Wine's debug output, if any
};

struct Scenario {
    const char* name;
    void (*run)(const ScenarioContext& context);
    // Wine debug channels the runner turns on for the scenario, whose output (the driver's
    // and the editor's error output) goes to the trace file; "" for none.
    const char* wineDebug;
};

// A capture or log file of a scenario, in the artifacts folder.
inline std::string Artifact(const ScenarioContext& context, const std::string& name) {
    return context.artifactsDir + "\\" + name;
}

const std::vector<Scenario>& AllScenarios();

// The least window of the keystroke timing, run as a process of its own (driver --least-window).
int RunLeastWindow();

// Typing, the caret and editing keys, and the time per typed character (typing_scenarios.cpp).
extern const std::vector<Scenario> TypingScenarios;

// The character palette under real mouse and keyboard input (palette_scenarios.cpp).
extern const std::vector<Scenario> PaletteScenarios;

// Files through the common dialogs, the clipboard with Linux programs, and the time Open and
// Paste take (file_scenarios.cpp).
extern const std::vector<Scenario> FileScenarios;

// Saves that keep the file what it was, a save cut short, and Ctrl with a letter under a
// Hebrew layout (save_scenarios.cpp).
extern const std::vector<Scenario> SaveScenarios;

// Faces, sizes and word wrap from the menus, and their check marks (view_scenarios.cpp).
extern const std::vector<Scenario> ViewScenarios;

// Printing on a real printer whose output is a file (print_scenarios.cpp).
extern const std::vector<Scenario> PrintScenarios;

// A file named at start, Save Again and the recovery copy after a kill (recovery_scenarios.cpp).
extern const std::vector<Scenario> RecoveryScenarios;
// Undo and Redo with Ctrl+Z and Ctrl+Y (undo_scenarios.cpp).
extern const std::vector<Scenario> UndoScenarios;
// Find and Replace through the system's dialogs (find_scenarios.cpp).
extern const std::vector<Scenario> FindScenarios;
// Lines in bidirectional order on the screen, and the Unicode conformance cases through the
// system's own Uniscribe (bidi_scenarios.cpp).
extern const std::vector<Scenario> BidiScenarios;
// A keystroke on a full document against the least possible window (keystroke_scenarios.cpp).
extern const std::vector<Scenario> KeystrokeScenarios;

}  // namespace e2e
