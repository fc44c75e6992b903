// The host's side of a gauge's picture elements: the bitmaps it loaded for
// each element at install, the icon frames chosen at update, and the picture
// composed at plot.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "host/element_records.h"
#include "standin/log/call_log.h"
#include "standin/pictures/index_picture.h"

namespace standin {

struct element_state {
    element_header* element;
    std::vector<index_picture> frames;           // a static image has one
    std::unique_ptr<host_image_record> image;    // static images only
    std::optional<double> value;                 // icons: last value callback result
    uint32_t frame = 0;                          // icons: frame shown at plot
};

class picture_elements {
public:
    explicit picture_elements(call_log& log) : log_(log) {}

    void install(element_header* first, HMODULE resources);
    // after_callback runs after each icon value callback returns.
    void update(element_header* first, const std::function<void()>& after_callback);
    void plot(element_header* first);
    void kill(element_header* first);

    const std::vector<element_state>& elements() const { return states_; }
    const element_state* find(const element_header* element) const;
    const index_picture& picture() const { return picture_; }

private:
    std::vector<element_header*> tree(element_header* first);
    element_state* installed(element_header* element);
    void load_frames(element_state& state, HMODULE resources, uint32_t count);

    call_log& log_;
    std::vector<element_state> states_;          // installed elements, in tree order
    index_picture picture_;
};

}  // namespace standin
