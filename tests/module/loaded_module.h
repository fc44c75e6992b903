// A stand-in host with the module loaded and none of its gauge opened yet.
// No FS98MAIN window: nothing here plays sound.
#pragma once
#include <gtest/gtest.h>

#include "standin/host/standin_host.h"
#include "tests/module/pe_image.h"
#include "tests/support/without_main_window.h"

class loaded_module : public ::testing::Test {
protected:
    loaded_module() : host_(without_main_window()) { host_.load(GAUGE_FILE); }

    pe_image image() const { return pe_image(host_.module()); }

    standin::host host_;
};
