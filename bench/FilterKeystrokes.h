#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

// Wall-clock and processor time of one measured step. On a machine shared with other work
// the wall clock also counts the time others ran; the processor time is the step's own.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

inline double CpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

class Stopwatch {
public:
    Timing Elapsed() const { return {double(wall_.nsecsElapsed()) / 1e9, CpuSeconds() - cpuStart_}; }

private:
    QElapsedTimer wall_ = [] { QElapsedTimer timer; timer.start(); return timer; }();
    double cpuStart_ = CpuSeconds();
};

// The filter box of an object list, timed: each keystroke of typing a 10-character word and
// erasing it again, and clearing the box, each until the list has laid out and painted its
// new rows. The word narrows step by step over the benchmarks' objects: "f" leaves nearly
// every row, "file12" a tenth of the files, the whole word one file per folder. Every run is
// kept, so that a run slowed by other work on the machine shows as such.
class FilterKeystrokes {
public:
    FilterKeystrokes(QLineEdit& box, QAbstractItemView& list)
        : box_(box)
        , list_(list)
    {
    }

    // One run of typing the word and erasing it; gives the wall time of its keystrokes.
    double TypeAndErase()
    {
        box_.clear();
        ShowAnswer();
        std::vector<Timing>& run = runs_.emplace_back();
        for (const QChar key : Word)
            run.push_back(Timed([&] { box_.insert(QString(key)); }));
        for (qsizetype i = 0; i < Word.size(); ++i)
            run.push_back(Timed([&] { box_.backspace(); }));
        double wall = 0;
        for (const Timing& step : run)
            wall += step.wall;
        return wall;
    }

    // One clearing of the box while it holds the word's first four characters; gives its
    // wall time.
    double Clear()
    {
        box_.setText(Word.left(4));
        ShowAnswer();
        return clears_.emplace_back(Timed([&] { box_.clear(); })).wall;
    }

    // The figures of every run beside the time of the list's own fill.
    void Print(const char* list, int rows, const Timing& fill) const
    {
        std::printf("%s, %d rows: filter typing \"%s\" and erasing it (%lld keystrokes a run), "
                    "wall clock / processor time:\n",
                    list, rows, qPrintable(Word), static_cast<long long>(Word.size() * 2));
        std::vector<Timing> all;
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            const std::vector<Timing>& run = runs_[i];
            all.insert(all.end(), run.begin(), run.end());
            std::printf("  run %zu: longest keystroke %6.1f / %6.1f ms, median %5.1f / %5.1f ms\n", i + 1,
                        Longest(run, &Timing::wall) * 1e3, Longest(run, &Timing::cpu) * 1e3,
                        Median(run, &Timing::wall) * 1e3, Median(run, &Timing::cpu) * 1e3);
        }
        if (!runs_.empty()) {
            std::printf("  last run, each keystroke, wall clock ms:");
            for (const Timing& step : runs_.back())
                std::printf(" %.1f", step.wall * 1e3);
            std::printf("\n");
        }
        for (std::size_t i = 0; i < clears_.size(); ++i)
            std::printf("  clearing, run %zu: %6.1f / %6.1f ms\n", i + 1, clears_[i].wall * 1e3, clears_[i].cpu * 1e3);
        std::printf("  all runs: longest keystroke %6.1f / %6.1f ms, median %5.1f / %5.1f ms, "
                    "longest clearing %6.1f / %6.1f ms (limit 50 ms each)\n",
                    Longest(all, &Timing::wall) * 1e3, Longest(all, &Timing::cpu) * 1e3, Median(all, &Timing::wall) * 1e3,
                    Median(all, &Timing::cpu) * 1e3, Longest(clears_, &Timing::wall) * 1e3,
                    Longest(clears_, &Timing::cpu) * 1e3);
        std::printf("  the list's fill %6.0f / %6.0f ms; longest keystroke / fill: %.3f wall clock, %.3f processor time\n",
                    fill.wall * 1e3, fill.cpu * 1e3, Longest(all, &Timing::wall) / fill.wall,
                    Longest(all, &Timing::cpu) / fill.cpu);
    }

private:
    inline static const QString Word = QStringLiteral("file12.txt");

    // What a keystroke waits for: the box's change handled, the list laid out again and
    // painted with its rows.
    void ShowAnswer()
    {
        QApplication::processEvents();
        QApplication::processEvents();
        list_.viewport()->repaint();
    }

    Timing Timed(const std::function<void()>& step)
    {
        const Stopwatch watch;
        step();
        ShowAnswer();
        return watch.Elapsed();
    }

    static double Longest(const std::vector<Timing>& steps, double Timing::*part)
    {
        double longest = 0;
        for (const Timing& step : steps)
            longest = std::max(longest, step.*part);
        return longest;
    }

    static double Median(const std::vector<Timing>& steps, double Timing::*part)
    {
        if (steps.empty())
            return 0;
        std::vector<double> values;
        for (const Timing& step : steps)
            values.push_back(step.*part);
        std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(values.size() / 2), values.end());
        return values[values.size() / 2];
    }

    QLineEdit& box_;
    QAbstractItemView& list_;
    std::vector<std::vector<Timing>> runs_;
    std::vector<Timing> clears_;
};
