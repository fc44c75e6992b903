// Frame cost: update, generate and draw through the gauge header with host
// services that do nothing. The median of many short batches keeps a moment
// of load elsewhere on the machine out of the figure.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "bench/figures.h"
#include "bench/null_services.h"
#include "standin/host/standin_host.h"

namespace {
constexpr int batches = 41;
constexpr int frames_per_batch = 25000;
}

void measure_frame_cost(const std::string& gauge_file, figures& out) {
    standin::host host;
    host.load(gauge_file);
    host.query();
    host.install();
    host.initialize();
    gauge_header_record& gauge = *host.gauge();
    void* const* host_services = host.import_table()->services;
    host.import_table()->services = null_service_table();
    std::vector<LONGLONG> batch_ticks;
    for (int b = 0; b < batches; ++b) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < frames_per_batch; ++i) {
            gauge.update();
            gauge.generate(0);
            gauge.draw();
        }
        QueryPerformanceCounter(&end);
        batch_ticks.push_back(end.QuadPart - start.QuadPart);
    }
    host.import_table()->services = host_services;
    host.kill();
    std::nth_element(batch_ticks.begin(), batch_ticks.begin() + batches / 2, batch_ticks.end());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double ns = 1e9 * double(batch_ticks[batches / 2]) / double(frequency.QuadPart) / frames_per_batch;
    out.push_back({"frame (update+generate+draw), median of " + std::to_string(batches) + " batches",
                   fixed_text(ns, 1) + " ns", "< 1000 ns", ns < 1000});
}
