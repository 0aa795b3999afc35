// Answers --help in the layout the manual page script reads.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: tdrtool COMMAND [ARGS]\n\nCommands:\n"
                    "  info       show a waveform file's header\n");
        return 0;
    }
    std::printf("tdrtool stand-in\n");
    return 0;
}
