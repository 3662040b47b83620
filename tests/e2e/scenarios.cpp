#include "scenarios.h"

#include <algorithm>
#include <cstdio>

#include "e2e_steps.h"

namespace e2e {

namespace {

const char AgreementText[] =
    "I agree to the terms of the Nivrano user agreement, below.\n"
    "I agree that this copy of the Nivrano program, has been supplied as is.\n"
    "I agree to hold as blameless, the author, of the Nivrano program, and I agree to hold as "
    "blameless, the manufacturer, of this copy of the Nivrano program, concerning any loss, "
    "that I may incur, or any loss, that a third party may incur, as a result of using this "
    "copy of the Nivrano program.\n"
    "If you agree to the terms of this agreement, left click the Yes button, with the mouse "
    "device.\n"
    "If you do not agree to the terms of this agreement, left click the No button, with the "
    "mouse device.";

// Closes the window as the user would and expects a silent end with exit code 0.
void ExpectSilentClose(RunningEditor& running, UINT how) {
    HWND window = running.editor.mainWindow;
    if (how == WM_CLOSE)
        PostMessageA(window, WM_CLOSE, 0, 0);
    else
        PostCommand(window, static_cast<WORD>(how));
    int code = WaitForExit(running.editor, 10000);
    if (code == -1) {
        HWND box = FindProcessWindow(running.ProcessId(), "#32770", "", true);
        Check(box == nullptr, "closing asked \"" + WindowText(box) + "\"");
    }
    Check(code == 0, "exit code " + std::to_string(code) + " after closing");
}

// Declining, by button or by the default button: exit code 0 and never a main window.
void DeclineAgreement(const ScenarioContext& context, bool byEnterKey) {
    RunningEditor running(context.exePath);
    MessageBoxSeen agreement = WaitForMessageBox(running.ProcessId(), 15000);
    Check(agreement.caption == "Nivrano User Agreement", "caption \"" + agreement.caption + "\"");
    Check(agreement.text == AgreementText, "agreement text differs: \"" + agreement.text + "\"");
    Check(FindProcessWindow(running.ProcessId(), "Nivrano", "", true) == nullptr,
          "main window visible during the agreement");
    if (byEnterKey) {
        BringToFront(agreement.box);
        PressKey(VK_RETURN);
    } else {
        AnswerMessageBox(agreement.box, IDNO);
    }
    int code = -1;
    for (int waited = 0; waited < 10000 && code == -1; waited += 50) {
        Check(FindProcessWindow(running.ProcessId(), "Nivrano", "", true) == nullptr,
              "a main window was shown after declining");
        code = WaitForExit(running.editor, 50);
    }
    Check(code == 0, "exit code " + std::to_string(code) + " after declining");
}

void AgreementNo(const ScenarioContext& context) { DeclineAgreement(context, false); }
void AgreementEnterMeansNo(const ScenarioContext& context) { DeclineAgreement(context, true); }

void MainWindowShown(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    HWND window = running.editor.mainWindow;
    Check(WindowText(window) == "Nivrano", "title \"" + WindowText(window) + "\"");
    LONG style = GetWindowLongA(window, GWL_STYLE);
    Check((style & (WS_OVERLAPPEDWINDOW | WS_VSCROLL)) == (WS_OVERLAPPEDWINDOW | WS_VSCROLL),
          "window style lacks WS_OVERLAPPEDWINDOW | WS_VSCROLL");
    Check((style & WS_HSCROLL) == 0, "window has a horizontal scroll bar");
    // Created with no extended style; DragAcceptFiles adds WS_EX_ACCEPTFILES.
    LONG extended = GetWindowLongA(window, GWL_EXSTYLE);
    Check((extended & WS_EX_ACCEPTFILES) != 0, "the window does not accept dropped files");
    Check((extended & ~(WS_EX_WINDOWEDGE | WS_EX_ACCEPTFILES)) == 0, "unexpected extended style");

    Capture client = CaptureClient(window);
    Check(client.width > 600 && client.height > 400,
          "client area " + std::to_string(client.width) + "x" + std::to_string(client.height));
    SaveBmp(client, Artifact(context, "main_window.bmp"));
    // The class brush is white: most of a new window's client area is page background.
    size_t white = static_cast<size_t>(
        std::count(client.pixels.begin(), client.pixels.end(), DWORD{0xFFFFFF}));
    Check(white * 2 > client.pixels.size(), "the client area is not mostly white");
    Log("client area " + std::to_string(client.width) + " x " + std::to_string(client.height));
    ExpectSilentClose(running, WM_CLOSE);
}

// The menu bar as the user sees it.
MenuItemSeen Item(const char* text, UINT id, bool checked = false) {
    MenuItemSeen item;
    item.text = text;
    item.id = id;
    item.checked = checked;
    return item;
}
MenuItemSeen Separator() {
    MenuItemSeen item;
    item.separator = true;
    return item;
}
MenuItemSeen Popup(const char* text, std::vector<MenuItemSeen> items) {
    MenuItemSeen item;
    item.text = text;
    item.submenu = std::move(items);
    return item;
}

std::vector<MenuItemSeen> ExpectedMenuBar() {
    auto sizes = [](const char* title, int first, int last) {
        std::vector<MenuItemSeen> items;
        for (int n = first; n <= last; ++n) {
            char text[16];
            std::snprintf(text, sizeof text, "%d&%d Point", n / 10, n % 10);
            const char* special[] = {"08 &Point", "09 P&oint", "70 &Point", "71 P&oint",
                                     "72 Po&int"};
            if (n == 8 || n == 9) std::snprintf(text, sizeof text, "%s", special[n - 8]);
            if (n >= 70) std::snprintf(text, sizeof text, "%s", special[n - 70 + 2]);
            if (n == 70) items.push_back(Separator());
            items.push_back(Item(text, static_cast<UINT>(44000 + n), n == 12));
            if (n == 9) items.push_back(Separator());
        }
        return Popup(title, items);
    };
    return {
        Popup("&File", {Item("&New", 40000), Item("&Open...", 40001), Item("&Save...", 40002),
                        Item("Save &Again\tCtrl+S", 40005), Separator(), Item("&Print...", 40003),
                        Separator(), Item("E&xit", 40004)}),
        Popup("&Edit", {Item("&Undo\tCtrl+Z", 41005), Item("&Redo\tCtrl+Y", 41006), Separator(),
                        Item("Cu&t\tCtrl+X", 41000), Item("&Copy\tCtrl+C", 41001),
                        Item("&Paste\tCtrl+V", 41002), Item("De&lete\tCtrl+D", 41003), Separator(),
                        Item("Select &All", 41004), Separator(), Item("&Find...\tCtrl+F", 41007),
                        Item("Find &Next\tF3", 41008), Item("&Replace...\tCtrl+H", 41009),
                        Item("&Go To...\tCtrl+G", 41010)}),
        Popup("&Word Wrap", {Item("&No", 42000), Item("&Yes", 42001, true)}),
        Popup(
            "Font &Name",
            {Item("&Arial", 43000), Item("A&rial Bold", 43001), Item("Ar&ial Italic", 43002),
             Item("Aria&l Bold Italic", 43003), Separator(), Item("&Courier New", 43004, true),
             Item("C&ourier New Bold", 43005), Item("Co&urier New Italic", 43006),
             Item("Couri&er New Bold Italic", 43007), Separator(), Item("&Times New Roman", 43008),
             Item("Ti&mes New Roman Bold", 43009), Item("Time&s New Roman Italic", 43010),
             Item("Times &New Roman Bold Italic", 43011)}),
        Popup("Font &Point Size",
              {sizes("&Eight to Nineteen", 8, 19), sizes("&Twenty to Twenty-Nine", 20, 29),
               sizes("T&hirty to Thirty-Nine", 30, 39), sizes("&Forty to Forty-Nine", 40, 49),
               sizes("F&ifty to Fifty-Nine", 50, 59), sizes("&Sixty to Seventy-Two", 60, 72)}),
        Popup("&Line Order", {Item("&Reversed", 46000, true), Item("&Bidirectional", 46001)}),
        Popup("&View", {Item("&Status Bar", 47000, true)}),
        Popup("&About", {Item("About &Nivrano...", 45000)}),
    };
}

void CompareMenus(const std::vector<MenuItemSeen>& seen, const std::vector<MenuItemSeen>& expected,
                  const std::string& where) {
    Check(seen.size() == expected.size(), where + ": " + std::to_string(seen.size()) +
                                              " items, expected " +
                                              std::to_string(expected.size()));
    for (size_t i = 0; i < seen.size(); ++i) {
        const MenuItemSeen& s = seen[i];
        const MenuItemSeen& e = expected[i];
        std::string at = where + " item " + std::to_string(i) + " \"" + e.text + "\"";
        Check(s.separator == e.separator, at + ": separator differs");
        Check(s.text == e.text, at + ": text is \"" + s.text + "\"");
        Check(s.id == e.id, at + ": identifier " + std::to_string(s.id));
        Check(s.checked == e.checked, at + ": check mark differs");
        Check(s.separator || !s.grayed, at + ": greyed in the resource");
        Check(s.submenu.empty() == e.submenu.empty(), at + ": submenu differs");
        if (!e.submenu.empty()) CompareMenus(s.submenu, e.submenu, at);
    }
}

void MenuAndAcceleratorResources(const ScenarioContext& context) {
    CompareMenus(ReadMenuResource(context.exePath, "Nivrano"), ExpectedMenuBar(), "menu bar");
    std::vector<ACCEL> table = ReadAcceleratorResource(context.exePath, "Nivrano");
    Check(table.size() == 11, std::to_string(table.size()) + " accelerators, expected 11");
    const struct {
        WORD key;
        BYTE modifiers;
        WORD command;
    } expected[] = {{'X', FCONTROL, 41000}, {'C', FCONTROL, 41001}, {'V', FCONTROL, 41002},
                    {'D', FCONTROL, 41003}, {'S', FCONTROL, 40005}, {'Z', FCONTROL, 41005},
                    {'Y', FCONTROL, 41006}, {'F', FCONTROL, 41007}, {VK_F3, 0, 41008},
                    {'H', FCONTROL, 41009}, {'G', FCONTROL, 41010}};
    for (size_t i = 0; i < 11; ++i) {
        Check((table[i].fVirt & ~FNOINVERT) == (FVIRTKEY | expected[i].modifiers),
              "accelerator " + std::to_string(i) + " has other modifiers");
        Check(table[i].key == expected[i].key, "accelerator " + std::to_string(i) + " key differs");
        Check(table[i].cmd == expected[i].command,
              "accelerator " + std::to_string(i) + " command differs");
    }
}

void AboutBox(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    PostCommand(running.editor.mainWindow, 45000);
    MessageBoxSeen about = WaitForMessageBox(running.ProcessId(), 10000);
    Check(about.caption == "Nivrano", "caption \"" + about.caption + "\"");
    Check(about.text == "Nivrano\nText Editor Computer Program", "text \"" + about.text + "\"");
    Check(GetWindow(about.box, GW_OWNER) == running.editor.mainWindow,
          "the About box is not owned by the main window");
    AnswerMessageBox(about.box, IDOK);
    Check(WaitUntilGone(about.box, 5000), "the About box did not close");
    Check(IsWindowVisible(running.editor.mainWindow), "the main window went away");
    ExpectSilentClose(running, WM_CLOSE);
}

void CloseUnchanged(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    ExpectSilentClose(running, WM_CLOSE);
}

void ExitUnchanged(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    ExpectSilentClose(running, 40004);
}

// The state of each row of the opened Edit menu, read from its pixels: an enabled row has
// black text, a greyed row only grey. Alt+E highlights the first row, which gives the rows'
// height and top; an enabled highlighted row shows its text in white instead of black.
// Rows: Undo and Redo; after a separator Cut, Copy, Paste and Delete; after another Select
// All; after a third Find, Find Next, Replace and Go To. The separators share what the rows
// leave of the menu's height.
std::vector<bool> EditMenuRowsEnabled(const Capture& menu) {
    DWORD highlight = GetSysColor(COLOR_HIGHLIGHT);
    DWORD highlightRgb =
        (GetRValue(highlight) << 16) | (GetGValue(highlight) << 8) | GetBValue(highlight);
    int top = -1, height = 0;
    for (int y = 0; y < menu.height; ++y) {
        if (menu.At(menu.width / 2, y) != highlightRgb) continue;
        if (top < 0) top = y;
        ++height;
    }
    Check(top >= 0 && height > 4, "no highlighted first row in the opened menu");
    auto rowEnabled = [&](int from) {
        bool highlighted = false, black = false, white = false;
        for (int y = from; y < from + height && y < menu.height; ++y)
            for (int x = top + 1; x < menu.width - top - 1; ++x) {  // inside the frame
                DWORD p = menu.At(x, y);
                int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                if (p == highlightRgb) highlighted = true;
                if (r < 48 && g < 48 && b < 48) black = true;
                if (r > 240 && g > 240 && b > 240) white = true;
            }
        return highlighted ? white : black;
    };
    const int separator = (menu.height - 2 * top - 11 * height) / 3;
    Check(separator > 0 && separator < height,
          "menu of " + std::to_string(menu.height) + " px does not hold 11 rows of " +
              std::to_string(height) + " px and three separators");
    // The first row of each group, and the separators above it.
    const int groups[][2] = {{0, 0}, {2, 1}, {6, 2}, {7, 3}, {11, 3}};
    std::vector<bool> rows;
    for (int g = 0; g + 1 < 5; ++g)
        for (int k = groups[g][0]; k < groups[g + 1][0]; ++k)
            rows.push_back(rowEnabled(top + k * height + groups[g][1] * separator));
    return rows;
}

std::vector<bool> OpenEditMenuAndRead(const ScenarioContext& context, RunningEditor& running,
                                      const std::string& artifact) {
    HWND window = running.editor.mainWindow;
    BringToFront(window);
    PressKey('E', false, true);
    HWND popup = WaitForProcessWindow(running.ProcessId(), "#32768", "", 5000);
    Check(popup != nullptr, "Alt+E opened no menu");
    Settle(window, 300);
    RECT rect{};
    GetWindowRect(popup, &rect);
    Capture menu = CaptureScreenRect(rect);
    SaveBmp(menu, Artifact(context, artifact));
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    Check(WaitUntilGone(popup, 3000) || !IsWindowVisible(popup), "the menu did not close");
    Settle(window, 100);
    return EditMenuRowsEnabled(menu);
}

std::string Describe(const std::vector<bool>& rows) {
    std::string text;
    for (bool enabled : rows) text += enabled ? 'E' : 'g';
    return text;
}

void EditMenuGreying(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    // Rows: Undo, Redo, Cut, Copy, Paste, Delete, Select All, Find, Find Next, Replace, Go To
    // (E enabled, g greyed).
    SetClipboardUnicode(L"\x05E9\x05DC\x05D5\x05DD");
    std::vector<bool> withText = OpenEditMenuAndRead(context, running, "edit_menu_paste.bmp");
    Check(Describe(withText) == "ggggEgggggE",
          "Edit menu with Unicode text on the clipboard: " + Describe(withText));
    EmptyClipboardNow();
    std::vector<bool> empty = OpenEditMenuAndRead(context, running, "edit_menu_empty.bmp");
    Check(Describe(empty) == "ggggggggggE", "Edit menu with an empty clipboard: " + Describe(empty));
    // A typed letter can be undone.
    BringToFront(running.editor.mainWindow);
    TypeUnicode(L"\x05D0");
    Settle(running.editor.mainWindow, 100);
    std::vector<bool> typed = OpenEditMenuAndRead(context, running, "edit_menu_typed.bmp");
    Check(Describe(typed) == "EgggggEEEEE", "Edit menu after typing a letter: " + Describe(typed));
    PressKey(VK_BACK);  // the document is unchanged again: the close asks nothing
    Settle(running.editor.mainWindow, 100);
    ExpectSilentClose(running, WM_CLOSE);
}

// Lines of Wine's message trace that the main window received.
std::vector<std::string> TraceLinesFor(const std::string& trace, HWND window) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "(%p)", static_cast<void*>(window));
    std::string shortHandle = handle;
    // Wine prints handles without leading zeros.
    std::snprintf(handle, sizeof handle, "(0x%llx)",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < trace.size()) {
        size_t end = trace.find('\n', start);
        if (end == std::string::npos) end = trace.size();
        std::string line = trace.substr(start, end - start);
        if (line.find(handle) != std::string::npos || line.find(shortHandle) != std::string::npos)
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool AnyLine(const std::vector<std::string>& lines, const std::string& a, const std::string& b) {
    for (const std::string& line : lines)
        if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return true;
    return false;
}

void AcceleratorsArriveAsCommands(const ScenarioContext& context) {
    // Run with WINEDEBUG=+message (see the scenario table): Wine's trace of every message
    // the editor's window procedure receives goes to the trace file.
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    HWND window = running.editor.mainWindow;
    SetClipboardUnicode(L"x");  // so that Paste is enabled and Ctrl+V gives a command
    BringToFront(window);
    for (WORD key : {WORD('X'), WORD('C'), WORD('V'), WORD('D')}) {
        PressKey(key, true);
        Settle(window, 100);
    }
    PressKey('A', true);  // not an accelerator: dispatched as a key
    Settle(window, 200);
    PressKey(VK_BACK, false);  // Ctrl+V pasted the "x": taken out, the close asks nothing
    Settle(window, 200);
    ExpectSilentClose(running, WM_CLOSE);
    std::vector<std::string> lines = TraceLinesFor(ReadWholeFile(context.tracePath), window);
    Check(!lines.empty(), "no message trace of the main window in " + context.tracePath);
    Check(AnyLine(lines, "WM_KEYDOWN", "wp=00000041"),
          "Ctrl+A did not arrive as WM_KEYDOWN (is the trace working?)");
    for (const char* key : {"wp=00000058", "wp=00000043", "wp=00000056", "wp=00000044"})
        Check(!AnyLine(lines, "WM_KEYDOWN", key),
              std::string("an accelerator key reached the window as WM_KEYDOWN ") + key);
    Check(AnyLine(lines, "WM_COMMAND", "wp=0001a02a"),
          "Ctrl+V did not arrive as WM_COMMAND 41002 from an accelerator");
    Check(AnyLine(lines, "WM_INITMENUPOPUP", ""),
          "the accelerators did not update the Edit menu first");
    // In the empty document Cut, Copy and Delete are greyed: their keys give no command.
    for (const char* command : {"wp=0001a028", "wp=0001a029", "wp=0001a02b"})
        Check(!AnyLine(lines, "WM_COMMAND", command),
              std::string("a greyed item's accelerator gave WM_COMMAND ") + command);
}

}  // namespace

const std::vector<Scenario>& AllScenarios() {
    static const std::vector<Scenario> scenarios = {
        {"agreement_no", AgreementNo, ""},
        {"agreement_enter_means_no", AgreementEnterMeansNo, ""},
        {"main_window", MainWindowShown, ""},
        {"menu_and_accelerator_resources", MenuAndAcceleratorResources, ""},
        {"about_box", AboutBox, ""},
        {"edit_menu_greying", EditMenuGreying, ""},
        {"close_unchanged", CloseUnchanged, ""},
        {"exit_unchanged", ExitUnchanged, ""},
        {"accelerators_arrive_as_commands", AcceleratorsArriveAsCommands, "+message"},
    };
    static const std::vector<Scenario> all = [] {
        std::vector<Scenario> list = scenarios;
        for (const auto* group :
             {&TypingScenarios, &PaletteScenarios, &FileScenarios, &SaveScenarios, &ViewScenarios,
              &PrintScenarios, &RecoveryScenarios, &UndoScenarios, &FindScenarios, &BidiScenarios,
              &KeystrokeScenarios})
            list.insert(list.end(), group->begin(), group->end());
        return list;
    }();
    return all;
}

}  // namespace e2e
