#include "velksum.h"

#ifdef _WIN32
#include "engine/utf16.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

// velksum expands "*" and "?" in file arguments itself (file_arguments.h), after the options
// are told apart; the runtime must hand the arguments over as typed.
extern "C" int _dowildcard = 0;

int wmain(int argc, wchar_t** argv) {
    // Output is UTF-8 bytes, unchanged by the runtime's text mode.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(velk::toUtf8(argv[i]));
    return velk::runVelksum(args, stdout, stderr);
}
#else
int main(int argc, char** argv) {
    return velk::runVelksum(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
#endif
