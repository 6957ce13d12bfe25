// The window benchmarks' fixtures: a window over a copy of an example
// position, and the benchmarks' own main.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/form1.h"

namespace vorek::bench {

// A window over a copy of an example position in a folder of its own, which
// is the working directory while the window lives.
class WindowOnExample {
public:
    explicit WindowOnExample(const char* example) : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorek-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        const std::filesystem::path source = std::filesystem::path(VOREK_EXAMPLES_DIR) / example;
        for (const char* name : {"plocha.dat", "tah.dat"})
            std::filesystem::copy_file(source / name, dir_ / name);
        std::filesystem::current_path(dir_);
        form = std::make_unique<TForm1>();
        form->show();
    }
    ~WindowOnExample() {
        form.reset();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    WindowOnExample(const WindowOnExample&) = delete;
    WindowOnExample& operator=(const WindowOnExample&) = delete;

    std::unique_ptr<TForm1> form;

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

// Runs the benchmarks offscreen, with settings of their own: what they
// choose never reaches the user's.
inline int runWindowBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("vorek-bench"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vorek::bench
