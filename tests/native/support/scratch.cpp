#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "engine_test_support.h"

std::string make_scratch_dir(void) {
    char pattern[] = "/tmp/lc_core_test_XXXXXX";
    const char *dir = mkdtemp(pattern);
    return dir ? dir : "";
}

void remove_tree(const std::string &dir) {
    if (DIR *d = opendir(dir.c_str())) {
        while (struct dirent *e = readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") unlink((dir + "/" + name).c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string &path, const std::string &contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

int run_program(const std::string &program, const std::string &args, const std::string &dir) {
    std::string command = program + " " + args + " >" + dir + "/out.txt 2>" + dir + "/err.txt </dev/null";
    int status = system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
