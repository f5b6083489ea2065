// The one export the test build of the extension adds: tests in the file manager's place slow
// down every read of the DLL's passes, as a slow disk or share would.

#include "engine/pass/fault_injection.h"

#include <windows.h>

extern "C" void WINAPI VelkTestSetReadDelay(unsigned milliseconds) {
    velk::faults::setReadDelayMilliseconds(milliseconds);
}
