// Runs one end-to-end scenario against nivrano.exe and prints PASS or FAIL.
//   nivrano_e2e.exe --list
//   nivrano_e2e.exe --least-window   (the window the keystroke timing compares with)
//   nivrano_e2e.exe SCENARIO EXE ARTIFACTS_DIR TRACE_FILE
#include <cstdio>
#include <cstring>
#include <exception>

#include "e2e_steps.h"
#include "scenarios.h"

int main(int argc, char** argv) {
    const auto& scenarios = e2e::AllScenarios();
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        // One scenario a line: its name and the Wine debug channels it needs.
        for (const auto& scenario : scenarios)
            std::printf("%s %s\n", scenario.name, scenario.wineDebug);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--least-window") == 0) return e2e::RunLeastWindow();
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SCENARIO EXE ARTIFACTS_DIR TRACE_FILE | --list\n", argv[0]);
        return 2;
    }
    e2e::ScenarioContext context{argv[2], argv[3], argv[4]};
    for (const auto& scenario : scenarios) {
        if (std::strcmp(scenario.name, argv[1]) != 0) continue;
        try {
            e2e::ClearRecoveryCopies();
            e2e::ClearSecuredSaves();
            scenario.run(context);
        } catch (const e2e::Failure& failure) {
            std::printf("FAIL %s: %s\n", scenario.name, failure.what.c_str());
            return 1;
        } catch (const std::exception& error) {
            std::printf("FAIL %s: %s\n", scenario.name, error.what());
            return 1;
        }
        std::printf("PASS %s\n", scenario.name);
        return 0;
    }
    std::printf("FAIL %s: no such scenario\n", argv[1]);
    return 1;
}
