// A walk through every detent: what a person checks when looking at a gauge.
#pragma once
#include <vector>

#include "standin/host/standin_host.h"
#include "standin/pictures/index_picture.h"

namespace standin {

// Clicks the centre of each hot spot of the registered mouse table in turn,
// with a frame after each: the picture after each click.
std::vector<index_picture> click_each_hot_spot(host& h);

// On a loaded module: install, initialize, click_each_hot_spot, kill; then
// the same again with the panel lights the other way. One row each.
std::vector<std::vector<index_picture>> tour(host& h);

}  // namespace standin
