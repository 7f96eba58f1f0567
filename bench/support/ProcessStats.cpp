#include "support/ProcessStats.h"

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

namespace {

// Calls visit with the /proc directory of each thread of the process.
template <typename Visit> void ForEachThread(pid_t pid, Visit visit) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                visit(tasks + "/" + entry->d_name);
        }
        closedir(dir);
    }
}

} // namespace

double CpuSecondsOf(pid_t pid) {
    unsigned long long nanoseconds = 0;
    ForEachThread(pid, [&](const std::string& task) {
        std::ifstream schedstat(task + "/schedstat");
        unsigned long long used = 0;
        if (schedstat >> used)
            nanoseconds += used;
    });
    return double(nanoseconds) / 1e9;
}

long WakeUpsOf(pid_t pid) {
    long wakeUps = 0;
    ForEachThread(pid, [&](const std::string& task) {
        std::ifstream status(task + "/status");
        const std::string key = "voluntary_ctxt_switches:";
        for (std::string line; std::getline(status, line);) {
            if (line.rfind(key, 0) == 0)
                wakeUps += std::stol(line.substr(key.size()));
        }
    });
    return wakeUps;
}

long ResidentBytesOf(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long pages = 0;
    long resident = 0;
    if (!(statm >> pages >> resident))
        return 0;
    return resident * sysconf(_SC_PAGESIZE);
}
