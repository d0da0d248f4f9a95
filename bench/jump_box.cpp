// The jump box over a 10 000-entry playlist: the snapshot the worker takes when J is pressed,
// the box opening over it, and one keystroke (a new search text: filter and view update).
// Half the entries have a Shift-JIS tune name, half show their file name.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <memory>
#include <string>

#include "app/DialogHooks.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/qt/QtJumpDialog.h"
#include "platform/qt/QtJumpModel.h"
#include "player/Player.h"

namespace {

constexpr int kEntries = 10000;

struct Fixture {
    dz::FakeAudioLibrary lib;
    std::unique_ptr<dz::tagPLAYER> player = std::make_unique<dz::tagPLAYER>(lib);

    Fixture() {
        for (int k = 0; k < kEntries; ++k) {
            const std::string n = std::to_string(k);
            player->add_entry("/music/set" + std::to_string(k % 40) + "/tune_" + n + ".ptcop",
                              std::nullopt, 60.0f);
            auto& e = player->playlist[k];
            e.title = k % 2 ? e.file_title : "\x83\x65\x83\x58\x83\x67 \xb6\xc0 Stage " + n;
        }
    }
};

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_jump_box";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_Snapshot(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(dz::JumpEntriesOf(*f.player));
}
BENCHMARK(BM_Snapshot)->Name("snapshot_10000")->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state) {
    App();
    Fixture f;
    const std::vector<dz::JumpEntry> entries = dz::JumpEntriesOf(*f.player);
    for (auto _ : state) {
        dz::QtJumpDialog dialog(nullptr, entries, kEntries / 2, false);
        benchmark::DoNotOptimize(dialog.chosen());
    }
}
BENCHMARK(BM_Open)->Name("open_10000")->Unit(benchmark::kMillisecond);

// Typing one more character: the search text grows from "s" to "stage 12".
void BM_Keystroke(benchmark::State& state) {
    App();
    Fixture f;
    const std::vector<dz::JumpEntry> entries = dz::JumpEntriesOf(*f.player);
    dz::QtJumpDialog dialog(nullptr, entries, 0, false);
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("1001"));
    const QString typed = QStringLiteral("stage 12");
    int k = 0;
    for (auto _ : state) {
        edit->setText(typed.left(k % typed.size() + 1));
        ++k;
    }
}
BENCHMARK(BM_Keystroke)->Name("keystroke_10000")->Unit(benchmark::kMicrosecond);

void BM_Filter(benchmark::State& state) {
    Fixture f;
    dz::QtJumpModel model(dz::JumpEntriesOf(*f.player));
    const QString texts[] = {QStringLiteral("tune_9"), QStringLiteral("ｽﾃｰｼﾞ"),
                             QStringLiteral("テスト カ")};
    int k = 0;
    for (auto _ : state) model.set_filter(texts[k++ % 3]);
}
BENCHMARK(BM_Filter)->Name("filter_10000")->Unit(benchmark::kMicrosecond);

}  // namespace
