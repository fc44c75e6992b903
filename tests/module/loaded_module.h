// A stand-in host with the module loaded and none of its gauge opened yet.
// No FS98MAIN window: nothing here plays sound.
#pragma once
#include <gtest/gtest.h>

#include "pe_image.h"
#include "standin_host.h"

class loaded_module : public ::testing::Test {
protected:
    loaded_module() : host_(quiet()) { host_.load(GAUGE_FILE); }

    static standin::host_options quiet() {
        standin::host_options options;
        options.main_window = false;
        return options;
    }

    pe_image image() const { return pe_image(host_.module()); }

    standin::host host_;
};
