/* Every loadable file of a directory converted into another directory, as
   one batch run: a kind-2 message during the run asks "Cancel Batch?",
   answered by --answer. */
#include <algorithm>
#include <dirent.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/batch_state.h"
#include "core/catalogue.h"
#include "core/lc_instance.h"
#include "core/messages.h"
#include "core/save_as.h"
#include "lumacast_strings.h"
#include "lumaconv.h"

static std::string join(const std::string &dir, const std::string &name) {
    if (dir.empty()) return name;
    char last = dir[dir.size() - 1];
#ifdef _WIN32
    const char *separator = "\\";
#else
    const char *separator = "/";
#endif
    return last == '/' || last == '\\' ? dir + name : dir + separator + name;
}

static int is_regular_file(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

static int is_directory(const char *path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

/* The files whose names a listed loader takes, sorted by name. */
static int list_inputs(const char *dir, std::vector<std::string> *names) {
    DIR *d = opendir(dir);
    if (!d) return 0;
    while (struct dirent *entry = readdir(d)) {
        std::string name = entry->d_name;
        if (!is_regular_file(join(dir, name))) continue;
        int index = detect_format(name.c_str());
        if (index >= 0 && index != catalogue_wildcard_index() && catalogue_listed_for_open(index))
            names->push_back(name);
    }
    closedir(d);
    std::sort(names->begin(), names->end());
    return 1;
}

/* The output name: the input name up to its first '.', then the new
   extension (as the batch dialog names its outputs). */
static std::string output_name(const std::string &input, const char *extension) {
    std::vector<char> out(input.size() + strlen(extension) + 2);
    save_name_with_extension(input.c_str(), extension, out.data(), out.size());
    return out.data();
}

static int output_format_ok(const char *extension) {
    std::string probe = std::string("x.") + extension;
    int index = detect_format(probe.c_str());
    if (index < 0 || !catalogue_listed_for_save(index)) {
        tool_error("no format writes files with the extension '%s'", extension);
        return 0;
    }
    return 1;
}

static void print_outcome(int aborted) {
    char text[128];
    LoadStringA(lc_instance(), aborted ? IDS_BATCH_ABORTED : IDS_BATCH_COMPLETE, text, (int)sizeof text);
    printf("%s\n", text);
}

int cmd_batch(int argc, char **argv) {
    ConvertOptions options;
    const char *dirs[2];
    int count;
    if (!parse_convert_options(argc, argv, 2, &options, dirs, 2, &count)) return EXIT_USAGE;
    if (count != 2 || !options.toExtension || !*options.toExtension) {
        tool_error("usage: lumaconv batch INDIR OUTDIR --to EXT [options]");
        return EXIT_USAGE;
    }
    if (!output_format_ok(options.toExtension)) return EXIT_FAILED;
    if (!is_directory(dirs[1])) {
        lc_message(MSG_ERROR, IDS_BATCH_BAD_OUTPUT_DIR, dirs[1]);
        return EXIT_FAILED;
    }
    std::vector<std::string> inputs;
    if (!list_inputs(dirs[0], &inputs)) {
        tool_error("cannot read the directory '%s'", dirs[0]);
        return EXIT_FAILED;
    }
    batch_set_running(1);
    batch_set_unattended(0);
    batch_set_cancel(0);
    int converted = 0, failed = 0, aborted = 0;
    for (const std::string &name : inputs) {
        if (batch_cancel_requested()) {
            aborted = 1;
            break;
        }
        std::string in = join(dirs[0], name), out = join(dirs[1], output_name(name, options.toExtension));
        int ok = convert_file(in.c_str(), out.c_str(), &options);
        printf("%s\t%s -> %s\n", ok ? "ok" : "failed", in.c_str(), out.c_str());
        fflush(stdout);
        ok ? converted++ : failed++;
    }
    batch_set_cancel(0);
    batch_set_running(0);
    print_outcome(aborted);
    printf("%d converted, %d failed, %d not started\n", converted, failed,
           (int)inputs.size() - converted - failed);
    return failed || aborted ? EXIT_FAILED : EXIT_OK;
}
