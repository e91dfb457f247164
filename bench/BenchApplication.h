#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

// The widget application of a benchmark of windows: the offscreen platform unless another is
// set, a settings folder of its own (placements are not written to the user's), the Japanese
// locale. Run runs the benchmarks registered.
class BenchApplication {
public:
    BenchApplication(int& argc, char** argv)
        : application_(argc, argv)
    {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }

    static void Run(int& argc, char** argv)
    {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }

private:
    // Set before the application reads it.
    struct Environment {
        QTemporaryDir settings;

        Environment()
        {
            if (qgetenv("QT_QPA_PLATFORM").isEmpty())
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        }
    };

    Environment environment_;
    QApplication application_;
};
