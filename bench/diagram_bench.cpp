// SPDX-License-Identifier: GPL-3.0-or-later
// The diagram at its finest scale: about 1,100 grid lines to place and to paint.
#include <benchmark/benchmark.h>

#include <QImage>

#include "diagram/diagram_view.h"
#include "diagram/layout_model.h"

namespace {

palquin::LayoutModel FinestScaleModel() {
    palquin::LayoutModel model;
    while (model.ZoomOut()) {
    }
    model.RedrawLayout();
    // A site in Moscow with 36 E central and 13 E in slot 2, so markers and captions are painted.
    model.PlaceCentral(50, "E 36.0");
    model.PlaceRotation(0, 50, 1.1);
    model.PlaceExtra(2, 50, 208.98, 22.77, 181.94, 26.46, 272.82, 38.62, "E 13.0");
    model.PlaceRotation(2, 50, 15.8);
    return model;
}

void BM_RedrawLayoutAtOneSixteenth(benchmark::State& state) {
    palquin::LayoutModel model = FinestScaleModel();
    for (auto _ : state) {
        model.RedrawLayout();
        benchmark::DoNotOptimize(model.VerticalGridLeftsTw().data());
    }
    state.counters["lines"] = static_cast<double>(model.VerticalGridLeftsTw().size() +
                                                  model.HorizontalGridTopsTw().size());
}
BENCHMARK(BM_RedrawLayoutAtOneSixteenth);

void BM_PaintDiagramAtOneSixteenth(benchmark::State& state) {
    const palquin::LayoutModel model = FinestScaleModel();
    palquin::DiagramView view(&model);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintDiagramAtOneSixteenth)->Unit(benchmark::kMicrosecond);

}  // namespace
