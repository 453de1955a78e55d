// The switch file natively: the same "[section]" and "key=value" lines the
// Windows profile calls read and write (names compared without case).
#include <stdio.h>
#include <stdlib.h>
#include <strings.h>

#include <string>
#include <vector>

#include "style_profile.h"

namespace {

std::vector<std::string> read_lines(const char *file) {
    std::vector<std::string> lines;
    FILE *f = fopen(file, "r");
    if (!f) return lines;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, f)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    fclose(f);
    return lines;
}

bool is_section(const std::string &line, const char *section) {
    return line.size() >= 2 && line[0] == '[' && line.back() == ']' &&
           strcasecmp(line.substr(1, line.size() - 2).c_str(), section) == 0;
}

// The line of key inside the section starting at `from`, or -1; *end gets
// the line after the section's last.
long find_key(const std::vector<std::string> &lines, size_t from, const char *key, size_t *end) {
    long found = -1;
    size_t i = from;
    for (; i < lines.size() && (lines[i].empty() || lines[i][0] != '['); i++) {
        size_t eq = lines[i].find('=');
        if (found < 0 && eq != std::string::npos && strcasecmp(lines[i].substr(0, eq).c_str(), key) == 0)
            found = (long)i;
    }
    *end = i;
    return found;
}

long find_section(const std::vector<std::string> &lines, const char *section) {
    for (size_t i = 0; i < lines.size(); i++)
        if (is_section(lines[i], section)) return (long)i;
    return -1;
}

}  // namespace

extern "C" int sty_profile_int(const char *section, const char *key, int fallback, const char *file) {
    std::vector<std::string> lines = read_lines(file);
    long s = find_section(lines, section);
    size_t end;
    long k = s < 0 ? -1 : find_key(lines, (size_t)s + 1, key, &end);
    if (k < 0) return fallback;
    const std::string &line = lines[(size_t)k];
    return atoi(line.c_str() + line.find('=') + 1);
}

extern "C" void sty_profile_write(const char *section, const char *key, int value, const char *file) {
    std::vector<std::string> lines = read_lines(file);
    std::string entry = std::string(key) + "=" + std::to_string(value);
    long s = find_section(lines, section);
    if (s < 0) {
        lines.push_back(std::string("[") + section + "]");
        lines.push_back(entry);
    } else {
        size_t end;
        long k = find_key(lines, (size_t)s + 1, key, &end);
        if (k >= 0)
            lines[(size_t)k] = entry;
        else
            lines.insert(lines.begin() + (long)end, entry);
    }
    FILE *f = fopen(file, "w");
    if (!f) return;
    for (const std::string &line : lines) fprintf(f, "%s\n", line.c_str());
    fclose(f);
}
