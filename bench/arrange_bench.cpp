// Measures arranging a large card in the Card window: how long the window takes to list the card
// again (Refresh), and how long a loop dropped on another one takes until the two have swapped
// and the window shows the card again (the Yes given at once), and the undo of that swap.
//
//   arrange-bench CARD [RUNS]   median, fastest and slowest milliseconds of each, after one
//                               untimed refresh that warms the file cache, and the median of the
//                               processor time it took (which other work on the machine does not
//                               lengthen)
//
// The backup store and the record of the last arrangement go below XDG_DATA_HOME: point it at a
// scratch folder (bench/card_list_bench.py does).
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "CardWindow.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LoopTable.h"
#include "Preferences.h"

using namespace brenvik;

namespace {

struct Timing {
    std::vector<double> wall, processor;
};

double processorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void measure(Timing& timing, const std::function<void()>& work) {
    const double processorStart = processorMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    timing.wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    timing.processor.push_back(processorMilliseconds() - processorStart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const Timing& timing) {
    const auto [fastest, slowest] = std::minmax_element(timing.wall.begin(), timing.wall.end());
    std::printf("%-28s median %7.1f ms   fastest %7.1f ms   slowest %7.1f ms   processor %7.1f ms   (%zu runs)\n",
                what, median(timing.wall), *fastest, *slowest, median(timing.processor), timing.wall.size());
}

int rowOf(const LoopTable* table, int number) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->numberOfRow(row) == number && !table->isFreeRow(row)) return row;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: arrange-bench CARD [RUNS]\n");
        return 2;
    }
    const std::string card = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    Files files;
    ConsoleInteraction ui(std::cerr);
    ui.setQuestionAnswer(MessageAnswer::Yes);
    const Preferences preferences{card, card, 45, true};
    CardWindow window(preferences, files, ui, {});
    window.show();
    LoopTable* table = window.table();
    const int first = table->numberOfRow(rowOf(table, 1) >= 0 ? rowOf(table, 1) : 0);
    int last = first;
    for (int row = 0; row < table->rowCount(); ++row)
        if (!table->isFreeRow(row)) last = std::max(last, table->numberOfRow(row));
    if (first == last) {
        std::fprintf(stderr, "%s holds fewer than two loops\n", card.c_str());
        return 1;
    }
    std::printf("%d rows listed, swapping LOOP%d and LOOP%d\n", table->rowCount(), first, last);

    window.refresh();  // warms the cache
    Timing refresh, swap, undo;
    for (int i = 0; i < runs; ++i) {
        measure(refresh, [&] { window.refresh(); });
        measure(swap, [&] { emit table->loopDropped(QString::fromStdString(card), first, rowOf(table, last), false); });
        measure(undo, [&] { window.undo(); });
    }
    report("refresh", refresh);
    report("drop a loop on another: swap", swap);
    report("undo the swap", undo);
    return 0;
}
