// Frame cost: update, generate and draw through the gauge header with host
// services that do nothing.
#include <windows.h>

#include "bench/figures.h"
#include "bench/null_services.h"
#include "standin/standin_host.h"

namespace {
constexpr int frames = 1000000;
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
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i) {
        gauge.update();
        gauge.generate(0);
        gauge.draw();
    }
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    host.import_table()->services = host_services;
    host.kill();
    const double ns = 1e9 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / frames;
    out.push_back({"frame (update+generate+draw)", fixed_text(ns, 1) + " ns", "< 1000 ns", ns < 1000});
}
