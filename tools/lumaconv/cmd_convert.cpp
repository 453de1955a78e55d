#include "lumaconv.h"

int cmd_convert(int argc, char **argv) {
    ConvertOptions options;
    const char *files[2];
    int count;
    if (!parse_convert_options(argc, argv, 2, &options, files, 2, &count)) return EXIT_USAGE;
    if (count != 2 || options.toExtension) {
        tool_error("usage: lumaconv convert IN OUT [options]");
        return EXIT_USAGE;
    }
    return convert_file(files[0], files[1], &options) ? EXIT_OK : EXIT_FAILED;
}
