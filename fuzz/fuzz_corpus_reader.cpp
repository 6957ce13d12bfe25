// The benchmarks' corpus files: any bytes are read to the positions they
// hold or refused with one message naming the file and line; a position read
// is written back in the same form and read again to the same position.
#include <sstream>
#include <stdexcept>

#include "bench/corpus_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorek;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::putFile("corpus.txt", bytes);
    const std::string path = (fuzz::scratchFolder() / "corpus.txt").string();
    std::vector<bench::CorpusPosition> positions;
    try {
        positions = bench::readCorpusFile(path);
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        if (!message.starts_with(path + ":")) fuzz::fail("a refusal that does not name the file: " + message);
        return 0;
    }
    std::ostringstream written;
    for (const bench::CorpusPosition& position : positions) bench::writeCorpusPosition(written, position);
    fuzz::putFile("again.txt", written.str());
    const std::vector<bench::CorpusPosition> again =
        bench::readCorpusFile((fuzz::scratchFolder() / "again.txt").string());
    if (again.size() != positions.size()) fuzz::fail("a corpus written back reads to another number of positions");
    for (std::size_t i = 0; i < again.size(); ++i) {
        const bool same = again[i].board.key() == positions[i].board.key() &&
                          again[i].board.sideToMove() == positions[i].board.sideToMove() &&
                          again[i].kind == positions[i].kind && again[i].length == positions[i].length &&
                          again[i].name == positions[i].name;
        if (!same) fuzz::fail("a position written back reads to another position");
    }
    return 0;
}
