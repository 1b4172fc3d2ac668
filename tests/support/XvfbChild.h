// Tests that need a real X display run again as a child process of their test executable under a virtual X
// server (xvfb-run), so that SDL talks to a real display and real X programs can be their peers.
#pragma once

#include <string>

// In the child (started by RunXvfbChild with this name), registers `body` as the test XvfbChild.<name>;
// elsewhere it registers nothing. Call it from a static initialiser.
bool RegisterXvfbChild(const char* name, void (*body)());

// Runs XvfbChild.<name> of this executable under xvfb-run with a screen of the given geometry (such as
// "1024x768x24"), printing the child's output when it fails; answers its exit status. `tools` are the
// commands the child needs besides xvfb-run: when one is missing the answer is -1 and nothing runs. A child
// still running after `seconds` is stopped and fails.
int RunXvfbChild(const char* name, const char* screen, const std::string& tools, int seconds = 180);
