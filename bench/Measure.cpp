// bench_measure FILE COMMAND [ARG...]: runs the command and writes its wall time in seconds and
// its peak resident memory in kilobytes to FILE: "<seconds> <kilobytes>". Exits with the
// command's status.

#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_measure FILE COMMAND [ARG...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("bench_measure");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) < 0) {
        std::perror("bench_measure");
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror("bench_measure");
        return 1;
    }
    std::fprintf(out, "%.6f %ld\n", elapsed.count(), usage.ru_maxrss);
    std::fclose(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
