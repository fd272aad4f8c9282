// Decoding every picture the chooser loads, as it does when it opens.

#include <benchmark/benchmark.h>

#include "assets/pictures.h"
#include "gui/picture.h"

namespace {

void decodeAllPictures(benchmark::State& state) {
    const auto files = assets::pictureFiles();
    if (files.size() != 27) {
        state.SkipWithError("expected 27 pictures");
        return;
    }
    for (auto _ : state) {
        for (const auto& file : files) {
            auto picture = gui::decodePng(file.bytes);
            if (!picture) {
                state.SkipWithError("a picture did not decode");
                return;
            }
            benchmark::DoNotOptimize(picture->pixels.data());
        }
    }
    state.counters["pictures"] = static_cast<double>(files.size());
}
BENCHMARK(decodeAllPictures)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
