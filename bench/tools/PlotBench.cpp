// The session picture of a two-hour recording (360 000 records) at the default size:
// the whole command (read, reduce, draw, encode, write) and its steps one by one.
#include <benchmark/benchmark.h>

#include <QBuffer>

#include "OffscreenApp.h"
#include "Plot.h"
#include "TempFiles.h"
#include "ZkdTool.h"
#include "plot/PlotLayout.h"
#include "plot/PlotPicture.h"
#include "plot/PlotSeries.h"
#include "zkd/RecordFile.h"

namespace {

constexpr int32_t TwoHours = 360000;

// A two-hour recording with a wandering reading, needle and base, and a tag a minute.
struct TwoHourFile {
  TwoHourFile() {
    std::vector<zk::SampleRecord> buf(TwoHours + 1);
    for (int32_t k = 1; k <= TwoHours; ++k) {
      zk::SampleRecord& r = buf[k];
      r.TimeMs = (k - 1) * 20;
      r.Raw = static_cast<int16_t>(20000 + (k * 7) % 9000);
      r.Needle = static_cast<int16_t>(k % 20000 - 10000);
      r.BaseStep = static_cast<uint8_t>(80 + (k / 3000) % 40);
      r.BdValue = static_cast<int16_t>(k / 5000);
      r.Sensitivity = static_cast<uint8_t>(16 + (k / 60000));
      r.Flags = static_cast<uint8_t>((k / 1000) % 4);
      if (k % 3000 == 0) {
        r.Marker = 'T';
        r.Tag = static_cast<uint16_t>(k / 3000);
      }
      r.Letter = 'P';
    }
    zk::WriteRecordFile(path, buf, TwoHours, zk::RecordHeader{1, 1, 36000, 9839});
  }
  zk::test::TempFolder dir;
  std::string path = dir / "two-hours.zkd";
};

void BM_PlotTwoHours(benchmark::State& state) {
  TwoHourFile file;
  const QStringList args{QString::fromStdString(file.path), "-o", QString::fromStdString(file.dir / "p.png")};
  std::ostringstream out, err;
  for (auto _ : state)
    if (zk::zkd::Plot(args, out, err) != 0) state.SkipWithError(err.str().c_str());
}
BENCHMARK(BM_PlotTwoHours)->Unit(benchmark::kMillisecond);

void BM_PlotSteps(benchmark::State& state) {
  TwoHourFile file;
  std::ostringstream err;
  zk::RecordFileData data;
  if (!zk::zkd::Read(file.path, data, err)) state.SkipWithError("unreadable");
  const zk::plot::TimeRange range{0, data.TotalTimeMs};
  zk::plot::PlotLayout layout = zk::plot::LayoutPlot(1600, 900);
  const zk::plot::PlotSeries series = zk::plot::ReducePlot(data, range, layout.columns);
  layout.FitRawLane(series.rawMin, series.rawMax);
  const QImage image = zk::plot::DrawPlot(series, layout, {"two-hours.zkd", data.TotalTimeMs, 36000, {}});
  for (auto _ : state) {
    switch (state.range(0)) {
      case 0: benchmark::DoNotOptimize(zk::zkd::Read(file.path, data, err)); break;
      case 1: benchmark::DoNotOptimize(zk::plot::ReducePlot(data, range, layout.columns)); break;
      case 2:
        benchmark::DoNotOptimize(zk::plot::DrawPlot(series, layout, {"two-hours.zkd", data.TotalTimeMs, 36000, {}}));
        break;
      default: {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        benchmark::DoNotOptimize(png.size());
      }
    }
  }
}
// 0 read the file, 1 reduce to columns, 2 draw, 3 encode the PNG.
BENCHMARK(BM_PlotSteps)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const auto app = zk::zkd::OffscreenApp(argv[0]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
