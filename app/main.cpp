// Visual Vorek: studies the position in a folder's position files, or the
// positions of a game record, in one window.
//   visual-vorek [FOLDER | GAME.psq]
//   visual-vorek --help | --version
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "app/folder/folder_commands.h"
#include "app/form1.h"
#include "app/game/game_commands.h"
#include "app/window_features.h"
#include "app/path_text.h"
#include "app/folder/recent_folders.h"

namespace {

int endAtOnce(const vorek::EndAtOnce& end) {
    std::fputs(end.out.c_str(), stdout);
    std::fputs(end.err.c_str(), stderr);
    return std::fflush(stdout) == 0 ? end.code : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // The arguments are the program's own: Qt gets none of them, so that a
    // FOLDER is never taken for one of its options.
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const auto request = vorek::parseCommandLine(arguments);
    if (const auto* end = std::get_if<vorek::EndAtOnce>(&request)) return endAtOnce(*end);
    if (const char* missing = vorek::missingDisplay()) {
        std::fprintf(stderr, "%s\n", missing);
        return vorek::EXIT_NO_DISPLAY;
    }
    const vorek::OpenWindow& open = std::get<vorek::OpenWindow>(request);
    const std::filesystem::path& folder = open.folder;

    int qtArgc = argc > 0 ? 1 : 0;
    vorek::VorekApplication application(qtArgc, argv);
    try {
        vorek::TForm1 form(folder);
        vorek::WindowFeatures& features = form.features();
        if (!folder.empty()) vorek::RecentFolders::add(vorek::pathText(features.folder().folder()));
        form.show();
        // A record that cannot be read is said in a box, over the folder's position.
        if (!open.game.empty()) features.game().OpenGame(open.game);
        return application.exec();
    } catch (const std::exception& error) {
        vorek::showException(error);
        return 1;
    }
}
