#include "files/error_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace vorek {

void appendErrorLog(std::string_view line) {
    // One write of the whole line, appended; never waits on a named pipe.
    const int log = ::open(ERROR_LOG_FILE, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (log < 0) return;
    const std::string text = std::string(line) + "\n";
    (void)!::write(log, text.data(), text.size());
    ::close(log);
}

}  // namespace vorek
