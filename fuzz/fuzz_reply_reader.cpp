// The reader of an AI's answer on arbitrary bytes in "tah.dat". Its result
// must be what formatted stream input gives for "integer, character, integer".
#include <cstdint>
#include <string>

#include "files/position_files.h"
#include "fuzz/fuzz_support.h"

using namespace vorek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::putFile(MOVE_FILE, bytes);
    fuzz::requireStreamReading(readMoveReply(fuzz::scratchFolder()), bytes);
    return 0;
}
