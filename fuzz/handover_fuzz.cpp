// The start-up's parsers of outside input: the hand-over block a second
// copy (or anyone) leaves in the shared memory, and the command line.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "shell/startup/command_line.h"
#include "shell/startup/handover.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<BYTE> block(data, data + size);
    char path[HANDOVER_PATH_MAX];
    DWORD code = 0;
    if (handover_decode(block.data(), block.size(), path, sizeof path, &code)) {
        if (strlen(path) >= sizeof path) __builtin_trap();
        handover_write_result(block.data(), block.size(), code, 0);
    }
    std::vector<char> line(data, data + size);
    line.push_back('\0');
    CommandLine cl;
    command_line_parse(line.data(), &cl);
    if (cl.file && (cl.file < line.data() || cl.file >= line.data() + line.size())) __builtin_trap();
    return 0;
}
