#include "cli/test_pause.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace vorek::cli {

#ifdef VOREK_TEST_HOOKS

namespace {

int openRetrying(const char* path, int flags) {
    int fd;
    while ((fd = ::open(path, flags | O_CLOEXEC)) < 0 && errno == EINTR) {
    }
    return fd;
}

}  // namespace

void pauseForTest(std::string_view moment) {
    const char* fifo = std::getenv("VOREK_TEST_PAUSE");
    const char* at = std::getenv("VOREK_TEST_PAUSE_AT");
    if (fifo == nullptr || at == nullptr || moment != at) return;
    const std::string said = std::string(moment) + "\n";
    if (const int out = openRetrying(fifo, O_WRONLY); out >= 0) {
        (void)!::write(out, said.data(), said.size());
        ::close(out);
    }
    if (const int in = openRetrying(fifo, O_RDONLY); in >= 0) {
        char ignored[64];
        for (ssize_t n; (n = ::read(in, ignored, sizeof ignored)) != 0;)
            if (n < 0 && errno != EINTR) break;
        ::close(in);
    }
}

#else

void pauseForTest(std::string_view) {}

#endif

}  // namespace vorek::cli
