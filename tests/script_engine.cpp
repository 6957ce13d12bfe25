#include "tests/script_engine.h"

namespace vorek::testing {

std::filesystem::path writeScriptEngine(const TempDir& dir, const std::string& cases, const std::string& first) {
    dir.write("engine", "#!/bin/sh\n"
                        "cd \"$(dirname \"$0\")\"\n"
                        "echo $$ >> pids\n"
                        "while IFS= read -r line; do\n" +
                            first +
                            "  printf '%s\\n' \"$line\" >> received\n"
                            "  case \"$line\" in\n"
                            "    START*) echo OK ;;\n"
                            "    ABOUT*) echo 'name=\"script\", version=\"1\"' ;;\n"
                            "    END*) exit 0 ;;\n" +
                            cases +
                            "\n"
                            "  esac\n"
                            "done\n");
    std::filesystem::permissions(dir / "engine", std::filesystem::perms::owner_all);
    return dir / "engine";
}

}  // namespace vorek::testing
