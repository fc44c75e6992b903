// The benchmark's figures, each measured by its own routine and printed as
// one table: figure, value, target, whether the target was met. A figure too
// noisy to tell either way is shown as undecided.
#pragma once
#include <string>
#include <vector>

struct figure {
    std::string name;
    std::string value;
    std::string target;
    bool met;
    bool decided = true;
};

using figures = std::vector<figure>;

// How long the paced clicks go on: `first_clicks` a side (at least 1,000),
// then twice as many at each look until the tail's target is decided, up to
// `most_clicks` a side or `most_minutes` of clicking.
struct paced_sampling {
    int first_clicks = 3000;
    int most_clicks = 48000;
    int most_minutes = 30;
};

// Each runs its own stand-in host on the module at `gauge_file`.
void measure_click_cost(const std::string& gauge_file, const paced_sampling& sampling, figures& out);
void measure_frame_cost(const std::string& gauge_file, figures& out);
void measure_growth(const std::string& gauge_file, figures& out);
void measure_standin_memory(const std::string& gauge_file, figures& out);
void measure_footprint(const std::string& gauge_file, const std::string& floor_file, figures& out);

// A value with a fixed number of decimals, as the table shows it.
std::string fixed_text(double value, int decimals);
