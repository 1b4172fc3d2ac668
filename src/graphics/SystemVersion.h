// The version of the system the program runs on, which decides the bitmap back end, the pictures of
// the about menu and the colours of a limited system.
#pragma once

enum : int { Win31Only = 1, Win95 = 4 };
// The system's version code, probed once (GraphicsState's winVersion).
int GetWinVersion();
bool IsLimitedWindows();
bool IsWinVersion2Or3();
