// SPDX-License-Identifier: MIT
#pragma once

// wx for programs that drive the game in-process (GUI tests, bench): the real
// main window on $DISPLAY, failed assertions and logged errors on stderr instead
// of modal boxes that would hang the run.

// False when wx cannot start, e.g. without an X display.
bool StartWx(int argc, char** argv);
void StopWx();
